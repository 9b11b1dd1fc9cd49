#pragma once

#include "project/ProjectDetailsModel.h"

#include <QObject>
#include <QString>

namespace plinth {

class AlertPresenter;

/// The view model of the home screen: the user starts a new project, or
/// picks the folder of an existing one. Each choice records `projectType` in
/// the project description and raises one of two flags that the screen flow
/// watches to open the first screen of that flow. A folder is accepted only
/// when it directly holds an .xcodeproj package; the package's name becomes
/// the project name and the folder's parent the project path.
class ProjectTypeSelectionViewModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool shouldContinueNewProjectFlow READ shouldContinueNewProjectFlow WRITE
                   setShouldContinueNewProjectFlow NOTIFY shouldContinueNewProjectFlowChanged)
    Q_PROPERTY(bool shouldContinueExistingProjectFlow READ shouldContinueExistingProjectFlow WRITE
                   setShouldContinueExistingProjectFlow NOTIFY shouldContinueExistingProjectFlowChanged)

public:
    /// `details` is the project description the screens fill; `alerts` (may
    /// be null in tests that expect no alert) must outlive the view model.
    ProjectTypeSelectionViewModel(ProjectDetailsModel &details, AlertPresenter *alerts, QObject *parent = nullptr);

    bool shouldContinueNewProjectFlow() const { return m_shouldContinueNewProjectFlow; }
    void setShouldContinueNewProjectFlow(bool value);
    bool shouldContinueExistingProjectFlow() const { return m_shouldContinueExistingProjectFlow; }
    void setShouldContinueExistingProjectFlow(bool value);

    /// The new-project button: starts the project description afresh for a
    /// new project (whatever an earlier pass recorded), then raises the
    /// new-project flag.
    void chooseNewProject();

    /// The existing-project button: records the existing project kind; the
    /// view then shows the folder panel and hands its result to
    /// acceptProjectFolder.
    void chooseExistingProject();

    /// Takes the folder chosen for an existing project. When it holds an
    /// .xcodeproj package: starts the project description afresh for an
    /// existing project, writes projectName (the package's name), projectPath
    /// (the folder's parent) and projectFolder, raises the existing-project
    /// flag and returns true. Otherwise shows the "Please choose a project" alert,
    /// changes nothing and returns false. An empty path (no folder chosen)
    /// changes nothing and shows nothing.
    bool acceptProjectFolder(const QString &folder);

    const ProjectDetailsModel &details() const { return m_details; }

Q_SIGNALS:
    void shouldContinueNewProjectFlowChanged(bool value);
    void shouldContinueExistingProjectFlowChanged(bool value);

private:
    ProjectDetailsModel &m_details;
    AlertPresenter *m_alerts;
    bool m_shouldContinueNewProjectFlow = false;
    bool m_shouldContinueExistingProjectFlow = false;
};

} // namespace plinth
