#pragma once

#include "app/base/ResourceBundle.h"
#include "catalogs/PodfileReader.h"
#include "project/ListItem.h"
#include "project/ProjectDetailsModel.h"

#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace plinth {

class AlertPresenter;
class CommandRunner;

/// The pod screen's model: the supplemental pods that can still be added
/// (read from the library page) and the pods the project will get (the
/// preset catalog for a new project, the Podfile's pods for an existing
/// one). Moving an entry between the two and saving the second list into the
/// project description is all the screen does. Lives on the main thread; the
/// page is fetched asynchronously and a large page is parsed on the thread
/// pool, the result applied here (and dropped when the model is gone).
class PodSelectionViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<plinth::ListItem> supplementalPods READ supplementalPods NOTIFY supplementalPodsChanged)
    Q_PROPERTY(QList<plinth::ListItem> presetAndSelectedPods READ presetAndSelectedPods NOTIFY
                   presetAndSelectedPodsChanged)
    Q_PROPERTY(bool supplementalPodsUnavailable READ supplementalPodsUnavailable NOTIFY
                   supplementalPodsUnavailableChanged)
    Q_PROPERTY(bool hasLoadedSupplementalPods READ hasLoadedSupplementalPods NOTIFY hasLoadedSupplementalPodsChanged)
    Q_PROPERTY(QString podfileProblem READ podfileProblem NOTIFY podfileProblemChanged)
    Q_PROPERTY(plinth::DependencyManager dependencyManager READ dependencyManager WRITE setDependencyManager NOTIFY
                   dependencyManagerChanged)

public:
    /// A page this large (in characters) is parsed on the thread pool.
    static constexpr qsizetype backgroundParseThreshold = 256 * 1024;

    /// `pageURL` is the library page (supplementalPodsListURL in the program);
    /// `runner` and `bundle` read an existing project's Podfile (without a
    /// runner its pods are not listed); `alerts` asks about uncommitted work
    /// (without a runner or alerts, nothing is asked).
    PodSelectionViewModel(ProjectDetailsModel &details, const QUrl &pageURL,
                          std::shared_ptr<const CommandRunner> runner = {}, ResourceBundle bundle = ResourceBundle(QString()),
                          AlertPresenter *alerts = nullptr, QObject *parent = nullptr);
    ~PodSelectionViewModel() override;

    QList<ListItem> supplementalPods() const { return m_supplementalPods; }
    QList<ListItem> presetAndSelectedPods() const { return m_presetAndSelectedPods; }
    /// The supplemental pods of the project's UI kind (and given-back preset
    /// pods), order kept: the rows of the screen's first list.
    QList<ListItem> supplementalPodsForSelectedUI() const;
    bool isUIKitProject() const;

    /// True once the page could not be read, or held no pods at all: the
    /// first list then says so rather than "Loading...".
    bool supplementalPodsUnavailable() const { return m_unavailable; }
    /// True once the page's pods have been applied; an empty first list then
    /// means nothing more is offered.
    bool hasLoadedSupplementalPods() const { return m_loaded; }
    /// Why the existing project's Podfile cannot be read as Ruby or has no
    /// block for the app target (the run will then leave it alone); empty
    /// otherwise.
    QString podfileProblem() const { return m_podfileProblem; }

    /// Whether the screen offers the choice between CocoaPods and Swift
    /// packages: only for an existing project (a new one chooses with its
    /// build settings).
    bool choosesDependencyManager() const { return m_details.projectType == ProjectType::existing; }
    /// How an existing project gets the libraries chosen here; appear()
    /// starts it at the description's choice (which the home screen set by
    /// the project: a project with a Podfile keeps to CocoaPods), so coming
    /// back to the screen keeps what the user chose.
    DependencyManager dependencyManager() const { return m_dependencyManager; }
    void setDependencyManager(DependencyManager manager);

    /// What the screen does each time it is shown: starts the fetch, then
    /// fills the second list from the Podfile (existing project) or the
    /// preset catalog; an existing project's dependency manager starts at its
    /// default.
    void appear();

    /// Starts one request for the page and returns at once. A page read
    /// replaces the first list by its offered pods, keeping entries the user
    /// has given back meanwhile; a failure leaves the list as it is, with a
    /// console line, and marks the pods unavailable.
    void fetchSupplementalPods();
    /// Fills the second list, on the thread pool, with the pods the project's
    /// Podfile (projectRoot/Podfile) gives the app target, read as Ruby:
    /// "Pod not exist" on the console and an empty list when there is none;
    /// podfileProblem says why when it cannot be read. Pods the user added
    /// meanwhile stay.
    void loadPodsFromPodfile();
    /// Moves the entry of row `index` of supplementalPodsForSelectedUI to the
    /// top of the second list as userSelected; nothing when the second list
    /// holds that title already or the row does not exist.
    void selectSupplementalPod(int index);
    /// Moves entry `index` of the second list to the top of the first as
    /// supplemental; nothing when the first list holds that title already or
    /// the index does not exist.
    void deselectPod(int index);
    /// Writes the titles of the second list (preset and user-selected
    /// entries, in order) to userSelectedPods of the project description,
    /// and, for an existing project, the Podfile's pods no longer in it to
    /// removedPods and the chosen dependency manager to dependencyManager.
    void saveSelectedPods();

    /// Next: saves the selection, then calls `goOn`. For an existing project
    /// in a Git work tree whose files the run would change hold uncommitted
    /// changes, it first asks (naming up to five of them) whether to continue
    /// or go back, and calls `goOn` only on Continue. Git runs on the thread
    /// pool; a second press while it does is ignored.
    void proceed(std::function<void()> goOn);

Q_SIGNALS:
    void supplementalPodsChanged();
    void presetAndSelectedPodsChanged();
    void supplementalPodsUnavailableChanged(bool unavailable);
    void hasLoadedSupplementalPodsChanged(bool loaded);
    void podfileProblemChanged(const QString &problem);
    void dependencyManagerChanged(plinth::DependencyManager manager);

private:
    void pageFetched(const QString &page);
    /// The offered pods of a parsed page (see offeredSupplementalPods) become
    /// the first list, after the entries already in it (pods the user gave
    /// back while the page was on its way).
    void applySupplementalPods(const QList<ListItem> &parsedPods);
    void setUnavailable(bool unavailable);
    void setLoaded(bool loaded);
    void setPresetAndSelectedPods(const QList<ListItem> &pods);
    void applyPodfileListing(const PodfileListing &listing);
    void uncommittedWorkChecked(const QStringList &changed, const std::function<void()> &goOn);

    ProjectDetailsModel &m_details;
    QUrl m_pageURL;
    std::shared_ptr<const CommandRunner> m_runner;
    ResourceBundle m_bundle;
    AlertPresenter *m_alerts;
    bool m_checkingUncommittedWork = false;
    QNetworkAccessManager *m_network = nullptr;
    QStringList m_podfilePodNames; ///< the pods the Podfile gave the target when the screen read it
    QString m_podfileProblem;
    QList<ListItem> m_supplementalPods;
    QList<ListItem> m_presetAndSelectedPods;
    bool m_unavailable = false;
    bool m_loaded = false;
    DependencyManager m_dependencyManager = DependencyManager::cocoaPods;
};

} // namespace plinth
