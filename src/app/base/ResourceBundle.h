#pragma once

#include <QString>

namespace plinth {

/// The application's resource bundle: the folder that holds the templates,
/// scripts, text catalogs and artwork as they ship. Lookups answer an absolute
/// path, or an empty string when the resource is absent; nothing outside the
/// bundle's root is ever answered.
class ResourceBundle
{
public:
    explicit ResourceBundle(const QString &rootPath);

    /// The bundle of the running program, found from its executable (see
    /// rootForApplicationDirectory). Needs a QCoreApplication.
    static const ResourceBundle &main();

    /// `../Resources` for an executable inside a macOS `.app`
    /// (Contents/MacOS), `../share/plinth` for one installed or in the build
    /// tree (bin/).
    static QString rootForApplicationDirectory(const QString &applicationDirectory);

    QString root() const { return m_root; }

    /// The resource `name`, with `.type` appended when `type` is given, at the
    /// top of the bundle or inside `subdirectory` (which may be nested,
    /// "a/b"). A file or a folder answers alike.
    QString path(const QString &name, const QString &type = {}, const QString &subdirectory = {}) const;

private:
    QString m_root;
};

} // namespace plinth
