#pragma once

#include "project/ProjectDetailsModel.h"

#include <QString>

namespace plinth {

/// What the home screen learns from the folder the user chose for an
/// existing project.
struct ProjectPackage
{
    bool found = false;
    QString projectName; ///< the .xcodeproj's name without its extension
    QString projectPath; ///< the chosen folder's parent folder
    QString folder;      ///< the chosen folder
    QString error;       ///< why the folder could not be listed, else empty
};

/// The project-package scan: lists `folder` itself (not its subfolders,
/// hidden entries included, in the order the file system gives them) and
/// takes the first entry named "<name>.xcodeproj" (a name of its own before
/// the extension). A folder that cannot be listed gives `error` and a console
/// line "Error reading directory contents: ...".
ProjectPackage findProjectPackage(const QString &folder);

/// How a project gets its libraries unless the user says otherwise: a new
/// project through CocoaPods; an existing one through CocoaPods when it has a
/// Podfile, else as Swift packages.
DependencyManager defaultDependencyManager(const ProjectDetailsModel &details);

} // namespace plinth
