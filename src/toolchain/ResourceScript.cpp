#include "toolchain/ResourceScript.h"

#include "app/base/ResourceBundle.h"

namespace plinth {

QString fileName(ResourceScript script)
{
    switch (script) {
    case ResourceScript::validateHomeBrew:
        return QStringLiteral("validateHomeBrewInstallation.rb");
    case ResourceScript::validateCocoaPods:
        return QStringLiteral("validateCocoaPodsInstallation.rb");
    case ResourceScript::rubySetup:
        return QStringLiteral("RubySetup.rb");
    case ResourceScript::validateXcodeBuild:
        return QStringLiteral("ValidateXcodeBuild.rb");
    case ResourceScript::validateCommandLineTool:
        return QStringLiteral("ValidateCommandLineTool.rb");
    case ResourceScript::validateXcodeGen:
        return QStringLiteral("validateXcodeGenInstallation.rb");
    case ResourceScript::validateXcodeProj:
        return QStringLiteral("ValidateXcodeProjInstallation.rb");
    case ResourceScript::preProjectSetupCommands:
        return QStringLiteral("PreProjectSetupCommands");
    case ResourceScript::podInstall:
        return QStringLiteral("PodInstall");
    case ResourceScript::updateMinimumDeploymentTarget:
        return QStringLiteral("UpdateMinimumDeploymentTarget");
    case ResourceScript::updateBundleIdentifier:
        return QStringLiteral("UpdateBundleIdentifier");
    case ResourceScript::postGen:
        return QStringLiteral("post_gen");
    case ResourceScript::addModulesInTarget:
        return QStringLiteral("AddModulesInTarget.rb");
    case ResourceScript::podfileEditor:
        return QStringLiteral("PodfileEditor.rb");
    }
    return {};
}

QString scriptPath(const ResourceBundle &bundle, ResourceScript script, const QString &type)
{
    return bundle.path(fileName(script), type);
}

} // namespace plinth
