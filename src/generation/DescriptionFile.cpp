#include "generation/DescriptionFile.h"

#include "app/base/DebugConsole.h"
#include "generation/AtomicFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace plinth {

QByteArray newProjectDescription(const ProjectDetailsModel &details)
{
    QJsonArray variants;
    for (const CheckBoxItem &variant : details.configVariant)
        variants.append(variant.label);
    QJsonObject description{
        {QStringLiteral("projectType"), QStringLiteral("new")},
        {QStringLiteral("projectName"), details.projectName},
        {QStringLiteral("organizationName"), details.organizationName},
        {QStringLiteral("bundleIdentifier"), details.bundleIdentifier},
        {QStringLiteral("authorName"), details.authorName},
        {QStringLiteral("selectedUI"), details.selectedUI},
        {QStringLiteral("minimumDeploymentTarget"), details.minimumDeploymentTarget},
        // The file lies in the project's root, which lies in the destination.
        {QStringLiteral("projectPath"), QStringLiteral("..")},
        {QStringLiteral("configVariant"), variants},
        {QStringLiteral("developmentSchemeName"), details.developmentSchemeName},
        {QStringLiteral("doesIncludeAWS"), details.doesIncludeAWS},
        {QStringLiteral("doesIncludeBLE"), details.doesIncludeBLE},
        {QStringLiteral("doesIncludeArkana"), details.doesIncludeArkana},
        {QStringLiteral("userSelectedPods"), QJsonArray::fromStringList(details.userSelectedPods)},
        {QStringLiteral("dependencyManager"),
         QLatin1String(details.dependencyManager == DependencyManager::swiftPackageManager ? "spm" : "cocoapods")},
    };
    if (!details.authorURL.isEmpty())
        description.insert(QStringLiteral("authorURL"), details.authorURL);
    return QJsonDocument(description).toJson(QJsonDocument::Indented);
}

bool writeNewProjectDescription(const QString &projectRoot, const ProjectDetailsModel &details)
{
    QString error;
    if (!writeTextFileAtomically(projectRoot + QLatin1Char('/') + QLatin1String(descriptionFileName),
                                 QString::fromUtf8(newProjectDescription(details)), &error,
                                 WriteDurability::unsynced)) {
        debugConsole(error);
        return false;
    }
    return true;
}

} // namespace plinth
