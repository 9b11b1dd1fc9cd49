#include "project/LibraryPackages.h"

#include "app/base/DebugConsole.h"
#include "app/base/ResourceBundle.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace plinth {

namespace {

// Names go into project.yml as keys and values and into the module script's
// command line; they are kept to what package and product names use.
bool isSoundName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("\\A[A-Za-z0-9_][A-Za-z0-9_.+-]*\\z"));
    return pattern.match(name).hasMatch();
}

bool isSoundURL(const QString &url)
{
    static const QRegularExpression pattern(QStringLiteral("\\Ahttps://[A-Za-z0-9.-]+/[A-Za-z0-9_./~+-]+\\z"));
    return pattern.match(url).hasMatch();
}

bool isVersion(const QString &version)
{
    static const QRegularExpression pattern(QStringLiteral("\\A(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*)){2}\\z"));
    return pattern.match(version).hasMatch();
}

std::optional<QStringList> soundNames(const QJsonValue &value)
{
    if (!value.isUndefined() && !value.isArray())
        return std::nullopt;
    QStringList names;
    for (const QJsonValue &entry : value.toArray()) {
        if (!isSoundName(entry.toString()))
            return std::nullopt;
        names << entry.toString();
    }
    return names;
}

// Why `entry` cannot be used; empty when it can.
QString entryProblem(const QJsonObject &entry, LibraryPackage &package)
{
    package.pod = entry.value(QLatin1String("pod")).toString();
    package.name = entry.value(QLatin1String("name")).toString();
    package.url = entry.value(QLatin1String("url")).toString();
    package.minimumVersion = entry.value(QLatin1String("from")).toString();
    const auto products = soundNames(entry.value(QLatin1String("products")));
    const auto plugins = soundNames(entry.value(QLatin1String("plugins")));
    if (package.pod.isEmpty() || package.pod.contains(QLatin1Char('/')))
        return QStringLiteral("no pod name");
    if (!isSoundName(package.name))
        return QStringLiteral("the package name \"%1\" cannot stand in project.yml").arg(package.name);
    if (!isSoundURL(package.url))
        return QStringLiteral("the repository \"%1\" is not an https URL").arg(package.url);
    if (!isVersion(package.minimumVersion))
        return QStringLiteral("the version \"%1\" is not X.Y.Z").arg(package.minimumVersion);
    if (!products || !plugins)
        return QStringLiteral("a product or plug-in name is not a list of names");
    if (products->isEmpty() && plugins->isEmpty())
        return QStringLiteral("neither a product nor a plug-in");
    package.products = *products;
    package.plugins = *plugins;
    return {};
}

} // namespace

LibraryPackages::LibraryPackages(QList<LibraryPackage> packages)
    : m_packages(std::move(packages))
{
}

LibraryPackages LibraryPackages::parse(const QByteArray &json, QStringList *problems)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject() || !document.object().value(QLatin1String("packages")).isArray()) {
        if (problems)
            *problems << (error.error != QJsonParseError::NoError ? error.errorString()
                                                                   : QStringLiteral("no \"packages\" list"));
        return {};
    }
    QList<LibraryPackage> packages;
    for (const QJsonValue &value : document.object().value(QLatin1String("packages")).toArray()) {
        LibraryPackage package;
        const QString problem = value.isObject() ? entryProblem(value.toObject(), package)
                                                 : QStringLiteral("an entry is not an object");
        if (!problem.isEmpty()) {
            if (problems)
                *problems << (package.pod.isEmpty() ? problem : package.pod + QStringLiteral(": ") + problem);
            continue;
        }
        packages << package;
    }
    return LibraryPackages(packages);
}

LibraryPackages LibraryPackages::load(const ResourceBundle &bundle)
{
    const QString path = bundle.path(QStringLiteral("LibraryPackages"), QStringLiteral("json"));
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        debugConsole(QStringLiteral("LibraryPackages.json is missing from the application's resources; every "
                                    "library stays a pod"));
        return {};
    }
    QStringList problems;
    LibraryPackages packages = parse(file.readAll(), &problems);
    for (const QString &problem : std::as_const(problems))
        debugConsole(QStringLiteral("LibraryPackages.json: left out: ") + problem);
    return packages;
}

std::optional<LibraryPackage> LibraryPackages::forPod(const QString &pod) const
{
    if (pod.contains(QLatin1Char('/')))
        return std::nullopt;
    for (const LibraryPackage &package : m_packages) {
        if (package.pod.compare(pod, Qt::CaseInsensitive) == 0)
            return package;
    }
    return std::nullopt;
}

} // namespace plinth
