#pragma once

#include "project/ListItem.h"
#include "project/ProjectDetailsModel.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace plinth {

/// The module screen's model for an existing project: works out whether the
/// project is a SwiftUI or a UIKit app, offers the module catalog for that
/// kind, and moves modules between the offered list and the chosen one.
///
/// Lives on the main thread. Finding the UI kind walks the whole project,
/// so it runs on the thread pool; isDetecting is true meanwhile and the
/// result is applied here (dropped when the model is gone by then).
class ExistingProjectModuleSelectionViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<plinth::ListItem> selectedModules READ selectedModules NOTIFY selectedModulesChanged)
    Q_PROPERTY(QList<plinth::ListItem> supplementalModules READ supplementalModules NOTIFY supplementalModulesChanged)
    Q_PROPERTY(bool isDetecting READ isDetecting NOTIFY isDetectingChanged)
    Q_PROPERTY(bool isUIKindUndetected READ isUIKindUndetected NOTIFY projectFactsChanged)
    Q_PROPERTY(bool isObjectiveCProject READ isObjectiveCProject NOTIFY projectFactsChanged)
    Q_PROPERTY(QStringList environments READ environments NOTIFY projectFactsChanged)

public:
    /// Starts detectProjectUI() at once.
    explicit ExistingProjectModuleSelectionViewModel(ProjectDetailsModel &details, QObject *parent = nullptr);
    ~ExistingProjectModuleSelectionViewModel() override;

    QList<ListItem> selectedModules() const { return m_selectedModules; }
    /// The modules still offered: the catalog for the detected UI kind (less
    /// what was chosen), empty while detecting or when no kind was found.
    QList<ListItem> supplementalModules() const { return m_supplementalModules; }
    /// The entries of supplementalModules offered for the project's UI kind
    /// (UIKit or both in a UIKit project, SwiftUI or both otherwise), order
    /// kept: the rows of the screen's first list.
    QList<ListItem> supplementalModulesForSelectedUI() const;
    bool isDetecting() const { return m_isDetecting; }
    /// True once the detection found no UI kind: the screen then asks for
    /// it (chooseUIKind), and the catalog is offered once it is chosen.
    bool isUIKindUndetected() const { return m_isUIKindUndetected; }
    /// True when the project's sources are Objective-C only (the modules are
    /// Swift); found with the UI kind, when none was detected.
    bool isObjectiveCProject() const { return m_isObjectiveCProject; }
    /// The Arkana environments of the project (its .arkana.yml, else its app
    /// target's build configurations), found with the UI kind; they become
    /// the configuration variants of the project description.
    QStringList environments() const { return m_environments; }
    bool doesIncludeArkana() const { return m_details.doesIncludeArkana; }

    /// The user's answer when no UI kind was detected: it becomes selectedUI
    /// of the project description and the catalog for it is offered (nothing
    /// chosen).
    void chooseUIKind(bool uiKit);

    /// Looks for the project's UI kind and environments on the thread pool
    /// and returns at once. When a kind is found, it becomes selectedUI of the
    /// project description and both lists start over (its catalog offered,
    /// nothing chosen); otherwise both lists are emptied, selectedUI is kept
    /// and isUIKindUndetected is set. The environments become configVariant.
    /// A detection started earlier and not yet applied is dropped.
    void detectProjectUI();

    /// Moves the module of row `index` of supplementalModulesForSelectedUI to
    /// the top of selectedModules (as userSelected); nothing when a module of
    /// that title is chosen already or the row does not exist.
    void selectSupplementalModule(int index);
    /// Moves entry `index` of selectedModules back to the top of
    /// supplementalModules (as supplemental); nothing when a module of that
    /// title is offered already or the index does not exist.
    void deselectModule(int index);

    /// Writes selectedModules, in their order, to userSelectedModules of the
    /// project description.
    void saveSelectedModules();
    /// Writes the Arkana choice to doesIncludeArkana of the project description.
    void setDoesIncludeArkana(bool value);

Q_SIGNALS:
    void selectedModulesChanged();
    void supplementalModulesChanged();
    void isDetectingChanged(bool detecting);
    void projectFactsChanged();

private:
    struct Detection;
    void applyDetection(quint64 detection, const Detection &found);
    void setDetecting(bool detecting);

    ProjectDetailsModel &m_details;
    QList<ListItem> m_selectedModules;
    QList<ListItem> m_supplementalModules;
    bool m_isDetecting = false;
    bool m_isUIKindUndetected = false;
    bool m_isObjectiveCProject = false;
    QStringList m_environments;
    quint64 m_detection = 0;
};

} // namespace plinth
