#include "app/base/ResourceBundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace plinth {

namespace {

// A name or subdirectory that could climb out of the bundle, or that is not a
// relative path at all, names no resource.
bool staysInside(const QString &relative, bool allowNested)
{
    if (relative.isEmpty() || QDir::isAbsolutePath(relative) || relative.contains(QLatin1Char('\\')))
        return false;
    const QStringList components = relative.split(QLatin1Char('/'));
    if (!allowNested && components.size() != 1)
        return false;
    for (const QString &component : components) {
        if (component.isEmpty() || component == QLatin1String(".") || component == QLatin1String(".."))
            return false;
    }
    return true;
}

} // namespace

ResourceBundle::ResourceBundle(const QString &rootPath)
    : m_root(QDir::cleanPath(QFileInfo(rootPath).absoluteFilePath()))
{
}

const ResourceBundle &ResourceBundle::main()
{
    static const ResourceBundle bundle(rootForApplicationDirectory(QCoreApplication::applicationDirPath()));
    return bundle;
}

QString ResourceBundle::rootForApplicationDirectory(const QString &applicationDirectory)
{
    QDir dir(applicationDirectory);
    const bool insideAppBundle = dir.dirName() == QLatin1String("MacOS")
                                 && QFileInfo(dir.absolutePath()).dir().dirName() == QLatin1String("Contents");
    const QString relative = insideAppBundle ? QStringLiteral("../Resources") : QStringLiteral("../share/plinth");
    return QDir::cleanPath(dir.absoluteFilePath(relative));
}

QString ResourceBundle::path(const QString &name, const QString &type, const QString &subdirectory) const
{
    QString fileName = name;
    if (!type.isEmpty())
        fileName += (type.startsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + type;
    if (!staysInside(fileName, false))
        return {};
    if (!subdirectory.isEmpty() && !staysInside(subdirectory, true))
        return {};

    const QString relative = subdirectory.isEmpty() ? fileName : subdirectory + QLatin1Char('/') + fileName;
    const QString candidate = m_root + QLatin1Char('/') + relative;
    return QFileInfo::exists(candidate) ? candidate : QString();
}

} // namespace plinth
