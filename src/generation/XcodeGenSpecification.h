#pragma once

#include "generation/LibraryRoutes.h"
#include "project/ProjectDetailsModel.h"

#include <QString>

namespace plinth {

/// Swift packages every generated app depends on.
inline constexpr char alamofirePackageURL[] = "https://github.com/Alamofire/Alamofire.git";
inline constexpr char wirecallPackageURL[] = "https://github.com/tarnwick/Wirecall.git";
inline constexpr char loggingPackageURL[] = "https://github.com/apple/swift-log.git";
/// The versions project.yml asks for: Alamofire exactly, swift-log from.
inline constexpr char alamofirePackageVersion[] = "5.9.1";
inline constexpr char loggingPackageMinimumVersion[] = "1.0.0";

/// The whole project.yml text for `details`. Values are inserted as stored;
/// the text has no final line break. The libraries of `routes` that come as
/// Swift packages are declared and linked to the app target (their build
/// tool plug-ins run in it), and so are the local secrets packages when the
/// secrets come as packages; the R.swift and SwiftLint build phases are
/// there when those come as pods.
QString makeXcodeGenSpecification(const ProjectDetailsModel &details, const LibraryRoutes &routes);

/// Writes the text atomically to projectRoot/project.yml, replacing an
/// existing file. A failure is written to the debug console; the result
/// says whether the file was written.
bool writeXcodeGenSpecification(const QString &projectRoot, const ProjectDetailsModel &details,
                                const LibraryRoutes &routes);

} // namespace plinth
