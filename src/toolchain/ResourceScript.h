#pragma once

#include <QString>

#include <array>

namespace plinth {

class ResourceBundle;

/// The scripts that ship in the application's resource bundle.
enum class ResourceScript {
    validateHomeBrew,
    validateCocoaPods,
    rubySetup,
    validateXcodeBuild,
    validateCommandLineTool,
    validateXcodeGen,
    validateXcodeProj,
    preProjectSetupCommands,
    podInstall,
    updateMinimumDeploymentTarget,
    updateBundleIdentifier,
    postGen,
    addModulesInTarget,
    podfileEditor,
};

/// Every case, in declaration order.
inline constexpr std::array allResourceScripts{
    ResourceScript::validateHomeBrew,        ResourceScript::validateCocoaPods,
    ResourceScript::rubySetup,               ResourceScript::validateXcodeBuild,
    ResourceScript::validateCommandLineTool, ResourceScript::validateXcodeGen,
    ResourceScript::validateXcodeProj,       ResourceScript::preProjectSetupCommands,
    ResourceScript::podInstall,              ResourceScript::updateMinimumDeploymentTarget,
    ResourceScript::updateBundleIdentifier,  ResourceScript::postGen,
    ResourceScript::addModulesInTarget,      ResourceScript::podfileEditor,
};

/// The resource name the script is found by. Letter case is exact; some
/// names carry their extension ("validateHomeBrewInstallation.rb"), others
/// are looked up with a type ("post_gen" with "sh").
QString fileName(ResourceScript script);

/// The absolute path of the script's file in `bundle`, looked up by its
/// `fileName` and `type` (an extension, or empty for none); empty when the
/// bundle does not hold it.
QString scriptPath(const ResourceBundle &bundle, ResourceScript script, const QString &type = {});

} // namespace plinth
