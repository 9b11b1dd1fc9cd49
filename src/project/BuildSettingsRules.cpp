#include "project/BuildSettingsRules.h"

#include "app/base/TextCatalog.h"
#include "project/ProjectNameRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace plinth {

QStringList uiKindOptions()
{
    return {text(key::uiKit), text(key::swiftUi)};
}

QStringList deploymentTargetOptions()
{
    return {text(key::deploymentTarget16_0), text(key::deploymentTarget17_0), text(key::deploymentTarget18_0)};
}

QStringList dependencyManagerOptions()
{
    return {text(key::dependencyManagerCocoaPods), text(key::dependencyManagerSwiftPackageManager)};
}

QString dependencyManagerText(DependencyManager manager)
{
    return text(manager == DependencyManager::swiftPackageManager ? key::dependencyManagerSwiftPackageManager
                                                                   : key::dependencyManagerCocoaPods);
}

DependencyManager dependencyManagerOf(const QString &menuText)
{
    return menuText == text(key::dependencyManagerSwiftPackageManager) ? DependencyManager::swiftPackageManager
                                                                        : DependencyManager::cocoaPods;
}

QList<CheckBoxItem> initialConfigVariantItems()
{
    return {{text(key::variantUAT), false},
            {text(key::variantStaging), false},
            {text(key::variantDevelopment), false},
            {text(key::variantProduction), false}};
}

DestinationProblem destinationProblem(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return DestinationProblem::missing;
    if (!info.isDir())
        return DestinationProblem::notAFolder;
    if (!info.isWritable())
        return DestinationProblem::notWritable;
    return DestinationProblem::none;
}

QString pathCheckMessage(const QString &path)
{
    return destinationProblem(path) == DestinationProblem::missing ? text(key::inValidPath) : QString();
}

bool isBuildSettingsIncomplete(const QString &selectedUI, const QString &minDeploymentTarget,
                               const QString &projectPath)
{
    return selectedUI.isEmpty() || minDeploymentTarget.isEmpty() || projectPath.isEmpty()
           || !pathCheckMessage(projectPath).isEmpty();
}

bool projectFolderExists(const QString &destination, const QString &projectName)
{
    // A dangling link counts: the project folder could not be made there either.
    const QFileInfo info(destination + QLatin1Char('/') + projectName);
    return info.exists() || info.isSymLink();
}

QList<CheckBoxItem> checkedVariants(const QList<CheckBoxItem> &items)
{
    QList<CheckBoxItem> checked;
    std::copy_if(items.cbegin(), items.cend(), std::back_inserter(checked),
                 [](const CheckBoxItem &item) { return item.isChecked; });
    return checked;
}

QStringList variantLabels(const QList<CheckBoxItem> &variants)
{
    QStringList labels;
    for (const CheckBoxItem &variant : variants)
        labels << variant.label;
    return labels;
}

DevelopmentSchemeChoice developmentSchemeChoice(const QList<CheckBoxItem> &variants)
{
    if (variants.isEmpty())
        return DevelopmentSchemeChoice::noVariant;
    if (variantLabels(variants).contains(text(key::variantDevelopment)))
        return DevelopmentSchemeChoice::keepDevelopment;
    return DevelopmentSchemeChoice::ask;
}

VariantLabelProblem variantLabelProblem(const QString &label, const QStringList &existingLabels)
{
    static const QRegularExpression identifier(QStringLiteral("\\A[A-Za-z_][A-Za-z0-9_]*\\z"));
    if (label.isEmpty())
        return VariantLabelProblem::empty;
    if (!identifier.match(label).hasMatch())
        return VariantLabelProblem::notIdentifier;
    if (readsAsYamlValue(label))
        return VariantLabelProblem::readsAsYamlValue;
    if (isSwiftKeyword(label))
        return VariantLabelProblem::swiftKeyword;
    if (existingLabels.contains(label))
        return VariantLabelProblem::duplicate;
    return VariantLabelProblem::none;
}

} // namespace plinth
