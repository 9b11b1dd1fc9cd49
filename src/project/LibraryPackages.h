#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace plinth {

class ResourceBundle;

/// A library's Swift package: what an app target needs to get the library
/// without CocoaPods.
struct LibraryPackage
{
    QString pod;            ///< the pod the package stands in for ("SwiftLint")
    QString name;           ///< the package's name in project.yml, its repository's name ("SwiftLintPlugins")
    QString url;            ///< the package's Git repository, an https URL
    QString minimumVersion; ///< the lowest version asked for, "X.Y.Z"; any later one of that major version will do
    QStringList products;   ///< the library products the app target links (the modules its code imports)
    QStringList plugins;    ///< the build-tool plug-ins the app target runs

    friend bool operator==(const LibraryPackage &, const LibraryPackage &) = default;
};

/// The libraries that publish a Swift package, read from the resource
/// bundle's LibraryPackages.json. A pod that is not listed has no package and
/// stays a pod.
class LibraryPackages
{
public:
    LibraryPackages() = default;
    explicit LibraryPackages(QList<LibraryPackage> packages);

    /// The bundle's catalog. A missing or unreadable file gives an empty
    /// catalog (every library stays a pod) and a console line; an entry that
    /// is not sound (a URL that is not https, a version that is not X.Y.Z, a
    /// name that could not stand in project.yml, no product and no plug-in)
    /// is left out with a console line.
    static LibraryPackages load(const ResourceBundle &bundle);
    /// The catalog in `json`; `problems` receives one line per entry left out.
    static LibraryPackages parse(const QByteArray &json, QStringList *problems = nullptr);

    /// The package of the pod `pod`, the names compared without regard to
    /// case. A subspec ("Firebase/Analytics") has none: the package's products
    /// need not match the subspec's part of the pod.
    std::optional<LibraryPackage> forPod(const QString &pod) const;
    QList<LibraryPackage> all() const { return m_packages; }

private:
    QList<LibraryPackage> m_packages;
};

} // namespace plinth
