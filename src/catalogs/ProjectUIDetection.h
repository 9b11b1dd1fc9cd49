#pragma once

#include "project/ProjectDetailsModel.h"

#include <QString>

#include <optional>

namespace plinth {

/// The UI kind of an existing project: walks every file below
/// `projectFolder`, at any depth, in the order the file system gives them
/// (links, pipes and devices left out, unreadable folders passed over),
/// and reads the first whose path ends with "AppDelegate.swift" or with
/// `projectName` + "App.swift". Its text naming the catalog text of "swiftUi"
/// gives that text, else naming the one of "uiKit" gives that one. Nothing
/// when the folder cannot be walked, no file qualifies, it cannot be read or
/// names neither.
std::optional<QString> detectProjectUI(const QString &projectFolder, const QString &projectName);

/// Whether the sources below `projectFolder` are Objective-C only: some
/// ".m" or ".mm" file and no ".swift" file, leaving out what the project
/// does not write itself (Pods, Carthage, vendor, .git, build folders).
/// Links are neither listed nor followed.
bool isObjectiveCOnlyProject(const QString &projectFolder);

/// detectProjectUI over projectPath/projectName.
std::optional<QString> detectProjectUI(const ProjectDetailsModel &details);

} // namespace plinth
