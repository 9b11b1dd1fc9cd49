#include "project/ProjectDetailsModel.h"

#include "app/base/TextCatalog.h"
#include "project/PresetPodCatalog.h"

namespace plinth {

ProjectDetailsModel::ProjectDetailsModel()
    : developmentSchemeName(text(key::variantDevelopment))
    , presetAndSelectedPods(presetPodCatalog())
{
}

QString ProjectDetailsModel::projectRoot() const
{
    if (!projectFolder.isEmpty())
        return projectFolder;
    if (projectPath.endsWith(QLatin1Char('/')))
        return projectPath + projectName;
    return projectPath + QLatin1Char('/') + projectName;
}

bool ProjectDetailsModel::isUIKitProject() const
{
    return selectedUI == text(key::uiKit);
}

ProjectDetailsManager &ProjectDetailsManager::shared()
{
    static ProjectDetailsManager manager;
    return manager;
}

ProjectDetailsModel &currentProjectDetails()
{
    static ProjectDetailsModel current = ProjectDetailsManager::shared().projectDetails;
    return current;
}

} // namespace plinth
