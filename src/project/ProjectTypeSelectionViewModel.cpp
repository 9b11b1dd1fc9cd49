#include "project/ProjectTypeSelectionViewModel.h"

#include "app/base/AlertPresenter.h"
#include "project/ExistingProjectDiscovery.h"

namespace plinth {

ProjectTypeSelectionViewModel::ProjectTypeSelectionViewModel(ProjectDetailsModel &details, AlertPresenter *alerts,
                                                             QObject *parent)
    : QObject(parent)
    , m_details(details)
    , m_alerts(alerts)
{
}

void ProjectTypeSelectionViewModel::setShouldContinueNewProjectFlow(bool value)
{
    if (m_shouldContinueNewProjectFlow == value)
        return;
    m_shouldContinueNewProjectFlow = value;
    Q_EMIT shouldContinueNewProjectFlowChanged(value);
}

void ProjectTypeSelectionViewModel::setShouldContinueExistingProjectFlow(bool value)
{
    if (m_shouldContinueExistingProjectFlow == value)
        return;
    m_shouldContinueExistingProjectFlow = value;
    Q_EMIT shouldContinueExistingProjectFlowChanged(value);
}

void ProjectTypeSelectionViewModel::chooseNewProject()
{
    // Each pass starts from a fresh description: nothing of an abandoned
    // pass (an existing project's folder, its modules, an unticked Arkana)
    // reaches this one. It is fresh before the flag rises, so whatever the
    // flag opens finds it so.
    m_details = ProjectDetailsModel();
    m_details.projectType = ProjectType::new_;
    setShouldContinueNewProjectFlow(true);
}

void ProjectTypeSelectionViewModel::chooseExistingProject()
{
    m_details.projectType = ProjectType::existing;
}

bool ProjectTypeSelectionViewModel::acceptProjectFolder(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const ProjectPackage package = findProjectPackage(folder);
    if (!package.found) {
        // Fixed texts, the same in every language.
        if (m_alerts)
            m_alerts->showAlert(QStringLiteral("Please choose a project"),
                                QStringLiteral("Directory does not contains .xcproject"), {}, nullptr);
        return false;
    }
    m_details = ProjectDetailsModel();
    m_details.projectType = ProjectType::existing;
    m_details.projectName = package.projectName;
    m_details.projectPath = package.projectPath;
    m_details.projectFolder = package.folder;
    m_details.dependencyManager = defaultDependencyManager(m_details);
    setShouldContinueExistingProjectFlow(true);
    return true;
}

} // namespace plinth
