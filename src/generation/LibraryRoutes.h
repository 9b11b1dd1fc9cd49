#pragma once

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
/// rest stay pods; a new project's Arkana secrets then come as local
/// packages, an existing project's as its own .arkana.yml says.
struct LibraryRoutes
{
    QStringList pods;               ///< the Podfile's pods: the user's, then the modules', in order
    bool awsPod = false;            ///< the AWS S3 pod goes into the Podfile
    bool secretsPods = false;       ///< the Arkana secrets pods go into the Podfile
    QList<LibraryPackage> packages; ///< each package once, in the order of the libraries it stands in for
    bool secretsPackages = false;   ///< a new project's Arkana secrets come as local Swift packages

    /// Whether a new project gets a Podfile at all.
    bool needsPodfile() const { return !pods.isEmpty() || awsPod || secretsPods; }
};

LibraryRoutes libraryRoutes(const ProjectDetailsModel &details, const LibraryPackages &catalog);

/// How a project gets its libraries unless the user says otherwise: a new
/// project through CocoaPods; an existing one through CocoaPods when it has a
/// Podfile, else as Swift packages.
DependencyManager defaultDependencyManager(const ProjectDetailsModel &details);

/// Whether a project's Arkana secrets come as local Swift packages: a new
/// project with Arkana whose libraries come through Swift Package Manager.
bool secretsComeAsPackages(const ProjectDetailsModel &details);

/// The local Swift packages Arkana makes for a project (its .arkana.yml
/// names them after the module name): "<module>Secrets" and
/// "<module>SecretsInterfaces", both in the Dependencies folder.
QStringList secretsPackageNames(const ProjectDetailsModel &details);

} // namespace plinth
