#include "catalogs/PodSelectionViewModel.h"

#include "app/base/AlertPresenter.h"
#include "app/base/DebugConsole.h"
#include "app/base/TextCatalog.h"
#include "catalogs/CatalogSelection.h"
#include "catalogs/PodfileReader.h"
#include "catalogs/SupplementalPodsPage.h"
#include "generation/LibraryRoutes.h"
#include "generation/UncommittedWork.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QtConcurrent>

#include <algorithm>

namespace plinth {

PodSelectionViewModel::PodSelectionViewModel(ProjectDetailsModel &details, const QUrl &pageURL,
                                             std::shared_ptr<const CommandRunner> runner, ResourceBundle bundle,
                                             AlertPresenter *alerts, QObject *parent)
    : QObject(parent)
    , m_details(details)
    , m_pageURL(pageURL)
    , m_runner(std::move(runner))
    , m_bundle(std::move(bundle))
    , m_alerts(alerts)
    , m_network(new QNetworkAccessManager(this))
{
}

PodSelectionViewModel::~PodSelectionViewModel() = default;

bool PodSelectionViewModel::isUIKitProject() const
{
    return m_details.isUIKitProject();
}

QList<ListItem> PodSelectionViewModel::supplementalPodsForSelectedUI() const
{
    const UIInterface kind = isUIKitProject() ? UIInterface::UIKit : UIInterface::swiftUi;
    QList<ListItem> shown;
    for (const ListItem &pod : m_supplementalPods) {
        if (pod.interface == kind || pod.interface == UIInterface::preset)
            shown.append(pod);
    }
    return shown;
}

void PodSelectionViewModel::appear()
{
    fetchSupplementalPods();
    if (m_details.projectType == ProjectType::existing) {
        setDependencyManager(m_details.dependencyManager);
        loadPodsFromPodfile();
    } else {
        setPresetAndSelectedPods(m_details.presetAndSelectedPods);
    }
}

void PodSelectionViewModel::fetchSupplementalPods()
{
    fetchHTMLContent(*m_network, m_pageURL, this, [this](const FetchedPage &result) {
        if (result.page) {
            pageFetched(*result.page);
            return;
        }
        if (!result.error.isEmpty())
            debugConsole(text(key::htmlContentRetriveFailure, result.error));
        setUnavailable(true);
    });
}

// A page of the usual size parses in well under a millisecond; a large one
// (or a hostile one) goes to the thread pool so that the screen keeps
// drawing.
void PodSelectionViewModel::pageFetched(const QString &page)
{
    if (page.size() < backgroundParseThreshold) {
        applySupplementalPods(parseSupplementalPods(page));
        return;
    }
    const QPointer<PodSelectionViewModel> self(this);
    (void)QtConcurrent::run([self, page] {
        const QList<ListItem> pods = parseSupplementalPods(page);
        QMetaObject::invokeMethod(
            qApp, [self, pods] { if (self) self->applySupplementalPods(pods); }, Qt::QueuedConnection);
    });
}

void PodSelectionViewModel::applySupplementalPods(const QList<ListItem> &parsedPods)
{
    QList<ListItem> pods = m_supplementalPods;
    for (const ListItem &pod : offeredSupplementalPods(parsedPods, m_presetAndSelectedPods, isUIKitProject())) {
        const bool present = std::any_of(pods.cbegin(), pods.cend(),
                                         [&pod](const ListItem &entry) { return entry.title == pod.title; });
        if (!present)
            pods.append(pod);
    }
    const bool changed = pods != m_supplementalPods;
    m_supplementalPods = pods;
    setUnavailable(parsedPods.isEmpty());
    setLoaded(true);
    if (changed)
        Q_EMIT supplementalPodsChanged();
}

void PodSelectionViewModel::loadPodsFromPodfile()
{
    const QString path = m_details.projectRoot() + QStringLiteral("/Podfile");
    if (!QFileInfo::exists(path)) {
        debugConsole(QStringLiteral("Pod not exist"));
        return;
    }
    if (!m_runner) {
        debugConsole(QStringLiteral("No toolchain runner to read ") + path);
        return;
    }
    const QPointer<PodSelectionViewModel> self(this);
    (void)QtConcurrent::run([self, path, target = m_details.projectName, bundle = m_bundle, runner = m_runner] {
        const PodfileListing listing = listPodfilePods(path, target, bundle, *runner);
        QMetaObject::invokeMethod(
            qApp, [self, listing] { if (self) self->applyPodfileListing(listing); }, Qt::QueuedConnection);
    });
}

void PodSelectionViewModel::applyPodfileListing(const PodfileListing &listing)
{
    const QString problem = listing.read ? QString() : listing.error;
    if (problem != m_podfileProblem) {
        m_podfileProblem = problem;
        if (!problem.isEmpty())
            debugConsole(QStringLiteral("The Podfile cannot be read: ") + problem);
        Q_EMIT podfileProblemChanged(problem);
    }
    if (!listing.read)
        return;
    m_podfilePodNames.clear();
    for (const PodfilePod &pod : listing.pods)
        m_podfilePodNames << pod.name;
    // Pods the user chose while the Podfile was being read stay on top.
    QList<ListItem> pods = podfilePods(listing.pods, m_details.presetAndSelectedPods, isUIKitProject());
    for (auto it = m_presetAndSelectedPods.crbegin(); it != m_presetAndSelectedPods.crend(); ++it) {
        const bool listed = std::any_of(pods.cbegin(), pods.cend(),
                                        [&it](const ListItem &pod) { return pod.title == it->title; });
        if (!listed)
            pods.prepend(*it);
    }
    setPresetAndSelectedPods(pods);
    // A pod of the page that the project has already is no longer offered.
    const qsizetype offered = m_supplementalPods.size();
    m_supplementalPods.removeIf([&pods](const ListItem &pod) {
        return std::any_of(pods.cbegin(), pods.cend(), [&pod](const ListItem &entry) { return entry.title == pod.title; });
    });
    if (m_supplementalPods.size() != offered)
        Q_EMIT supplementalPodsChanged();
}

void PodSelectionViewModel::selectSupplementalPod(int index)
{
    const QList<ListItem> shown = supplementalPodsForSelectedUI();
    if (index < 0 || index >= shown.size())
        return;
    if (!moveCatalogItem(shown.at(index), m_supplementalPods, m_presetAndSelectedPods, PodType::userSelected))
        return;
    Q_EMIT supplementalPodsChanged();
    Q_EMIT presetAndSelectedPodsChanged();
}

void PodSelectionViewModel::deselectPod(int index)
{
    if (index < 0 || index >= m_presetAndSelectedPods.size())
        return;
    const ListItem pod = m_presetAndSelectedPods.at(index);
    if (!moveCatalogItem(pod, m_presetAndSelectedPods, m_supplementalPods, PodType::supplemental))
        return;
    Q_EMIT supplementalPodsChanged();
    Q_EMIT presetAndSelectedPodsChanged();
}

void PodSelectionViewModel::saveSelectedPods()
{
    QStringList titles;
    for (const ListItem &pod : m_presetAndSelectedPods) {
        if (pod.podType == PodType::preset || pod.podType == PodType::userSelected)
            titles << pod.title;
    }
    m_details.userSelectedPods = titles;
    if (m_details.projectType != ProjectType::existing)
        return;
    QStringList removed;
    for (const QString &name : std::as_const(m_podfilePodNames)) {
        if (!titles.contains(name) && !removed.contains(name) && !name.contains(QLatin1String("Secrets")))
            removed << name;
    }
    m_details.removedPods = removed;
    m_details.dependencyManager = m_dependencyManager;
}

void PodSelectionViewModel::proceed(std::function<void()> goOn)
{
    if (m_checkingUncommittedWork)
        return;
    saveSelectedPods();
    if (m_details.projectType != ProjectType::existing || !m_runner || !m_alerts) {
        goOn();
        return;
    }
    m_checkingUncommittedWork = true;
    QPointer<PodSelectionViewModel> self(this);
    std::shared_ptr<const CommandRunner> runner = m_runner;
    (void)QtConcurrent::run([self, runner, details = m_details, bundle = m_bundle, goOn = std::move(goOn)] {
        const QStringList files = filesTheRunChanges(details, LibraryPackages::load(bundle));
        const QStringList changed = uncommittedChanges(*runner, details.projectRoot(), files);
        QMetaObject::invokeMethod(
            qApp, [self, changed, goOn] { if (self) self->uncommittedWorkChecked(changed, goOn); },
            Qt::QueuedConnection);
    });
}

void PodSelectionViewModel::uncommittedWorkChecked(const QStringList &changed, const std::function<void()> &goOn)
{
    m_checkingUncommittedWork = false;
    if (changed.isEmpty()) {
        goOn();
        return;
    }
    constexpr qsizetype named = 5;
    QString files = changed.mid(0, named).join(QLatin1Char('\n'));
    if (changed.size() > named)
        files += QLatin1Char('\n') + text(key::uncommittedChangesMore, QString::number(changed.size() - named));
    m_alerts->askQuestion(text(key::uncommittedChangesTitle), text(key::uncommittedChangesMessage, files),
                          {text(key::goBack), text(key::continueAnyway)}, [goOn](int chosen) {
                              if (chosen == 1)
                                  goOn();
                          });
}

void PodSelectionViewModel::setDependencyManager(DependencyManager manager)
{
    if (m_dependencyManager == manager)
        return;
    m_dependencyManager = manager;
    Q_EMIT dependencyManagerChanged(manager);
}

void PodSelectionViewModel::setUnavailable(bool unavailable)
{
    if (m_unavailable == unavailable)
        return;
    m_unavailable = unavailable;
    Q_EMIT supplementalPodsUnavailableChanged(unavailable);
}

void PodSelectionViewModel::setLoaded(bool loaded)
{
    if (m_loaded == loaded)
        return;
    m_loaded = loaded;
    Q_EMIT hasLoadedSupplementalPodsChanged(loaded);
}

void PodSelectionViewModel::setPresetAndSelectedPods(const QList<ListItem> &pods)
{
    if (pods == m_presetAndSelectedPods)
        return;
    m_presetAndSelectedPods = pods;
    Q_EMIT presetAndSelectedPodsChanged();
}

} // namespace plinth
