#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace plinth {

/// The property list of an Xcode project file (`project.pbxproj`, the old
/// ASCII form Xcode writes): dictionaries as QVariantMap, arrays as
/// QVariantList, every scalar as QString. Nothing when the text is not such
/// a property list.
std::optional<QVariant> parseXcodeProjectFile(const QString &text);

/// The names of the build configurations of the native target `targetName`
/// in a `project.pbxproj` text, in the project's order ("Debug", "Release").
/// Empty when the text cannot be read or has no such target.
QStringList targetBuildConfigurationNames(const QString &pbxprojText, const QString &targetName);

} // namespace plinth
