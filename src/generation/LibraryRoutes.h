#pragma once

#include "project/ExistingProjectDiscovery.h"
#include "project/LibraryPackages.h"
#include "project/ProjectDetailsModel.h"

#include <QList>
#include <QStringList>

namespace plinth {

/// The pod post_gen.sh writes for the AWS S3 part.
inline constexpr char awsPodName[] = "AWSS3";

/// How each library of a project reaches it: through the Podfile or as a
/// Swift package. With CocoaPods everything is a pod. With Swift Package
/// Manager every library that publishes a package comes as that package, the
/// rest stay pods, and the Arkana secrets come as local packages (an
/// existing project's own .arkana.yml has the last word).
struct LibraryRoutes
{
    QStringList pods;               ///< the Podfile's pods: the user's, then the modules', in order
    bool awsPod = false;            ///< the AWS S3 pod goes into the Podfile
    bool secretsPods = false;       ///< the Arkana secrets pods go into the Podfile
    QList<LibraryPackage> packages; ///< each package once, in the order of the libraries it stands in for
    bool secretsPackages = false;   ///< the Arkana secrets come as local Swift packages

    /// Whether a new project gets a Podfile at all.
    bool needsPodfile() const { return !pods.isEmpty() || awsPod || secretsPods; }
};

LibraryRoutes libraryRoutes(const ProjectDetailsModel &details, const LibraryPackages &catalog);

/// Whether a project's Arkana secrets come as local Swift packages: Arkana
/// chosen, the libraries through Swift Package Manager, and, for an existing
/// project with an .arkana.yml of its own, that file's package_manager
/// saying "spm" (its own choice holds).
bool secretsComeAsPackages(const ProjectDetailsModel &details);

/// A Swift package in a folder of the project's own.
struct LocalPackage
{
    QString path;    ///< relative to the project root
    QString product; ///< the package's product, named as the package

    friend bool operator==(const LocalPackage &, const LocalPackage &) = default;
};

/// The two local packages Arkana makes: "<import_name>" and
/// "<import_name>Interfaces" in the result_path folder, as the project's
/// .arkana.yml names them (an existing project's own file), else as Plinth's
/// .arkana.yml does: "<module>Secrets" in Dependencies, <module> being the
/// module name Xcode derives from the product name.
QList<LocalPackage> arkanaSecretsPackages(const ProjectDetailsModel &details);

} // namespace plinth
