#include "generation/XcodeGenSpecification.h"

#include "app/base/DebugConsole.h"
#include "generation/AtomicFile.h"
#include "generation/YamlScalar.h"

#include <QStringList>

#include <algorithm>

namespace plinth {

namespace {

// Joins the entries of one variant block with line feeds and trims spaces and
// tabs (not line feeds) from both ends: the surrounding text supplies the
// indentation of the first line.
QString variantBlock(const QList<CheckBoxItem> &variants, QString (*entry)(const QString &label))
{
    QStringList entries;
    for (const CheckBoxItem &variant : variants)
        entries << entry(variant.label);
    QString block = entries.join(QLatin1Char('\n'));
    const auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype begin = 0;
    qsizetype end = block.size();
    while (begin < end && isBlank(block.at(begin)))
        ++begin;
    while (end > begin && isBlank(block.at(end - 1)))
        --end;
    return block.mid(begin, end - begin);
}

// A name of letters, digits and "_" only can stand inside a longer plain
// value; any other makes that value double-quoted as a whole.
bool isWord(const QString &name)
{
    return !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'_';
    });
}

QString valueAround(const QString &before, const QString &name, const QString &after)
{
    return isWord(name) ? before + name + after : doubleQuotedYamlScalar(before + name + after);
}

QString configsEntry(const QString &label)
{
    return QStringLiteral("  %1: debug\n  %2: release")
        .arg(yamlScalar(label + QStringLiteral(" debug")), yamlScalar(label + QStringLiteral(" release")));
}

QString configSettingsEntry(const QString &label)
{
    return QStringLiteral("    %1:\n      OTHER_SWIFT_FLAGS: %2")
        .arg(yamlScalar(label), valueAround(QStringLiteral("$(inherited) -D "), label,
                                            QStringLiteral(" -D ACCELERATE_NEW_LAPACK -D ACCELERATE_LAPACK_ILP64")));
}

QString configVariantsEntry(const QString &label)
{
    return QStringLiteral("        - ") + yamlScalar(label);
}

// The template's placeholders are replaced in one pass, so a value that
// itself contains "{projectName}" or similar is inserted literally.
QString fill(const QString &templateText, const QList<std::pair<QString, QString>> &values)
{
    QString result;
    result.reserve(templateText.size() * 2);
    qsizetype position = 0;
    while (position < templateText.size()) {
        const qsizetype open = templateText.indexOf(QLatin1Char('{'), position);
        if (open < 0)
            break;
        const qsizetype close = templateText.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        const QString name = templateText.mid(open + 1, close - open - 1);
        const auto found = std::find_if(values.begin(), values.end(),
                                        [&](const auto &value) { return value.first == name; });
        result += templateText.mid(position, open - position);
        if (found != values.end())
            result += found->second;
        else
            result += templateText.mid(open, close - open + 1);
        position = close + 1;
    }
    result += templateText.mid(position);
    return result;
}

const char specificationTemplate[] = R"yml(name: {name}
attributes:
  LastUpgradeCheck: 1500
  LastUpgradeVersion: 1500

options:
  localPackagesGroup: Dependencies
  xcodeVersion: 1500
  bundleIdPrefix:
  deploymentTarget: {minimumDeploymentTarget}

configs:
  {configs}

settings:
  base:
    INFOPLIST_KEY_CFBundleDisplayName: {name}
    IPHONEOS_DEPLOYMENT_TARGET: {minimumDeploymentTarget}
    MARKETING_VERSION: 1.0
    CURRENT_PROJECT_VERSION: 1
    PRODUCT_BUNDLE_IDENTIFIER: {bundleIdentifier}
  configs:
    {configSettings}
packages:
  Alamofire:
    url: {AlamofireURL}
    version: {AlamofireVersion}
  Wirecall:
    url: {WirecallURL}
    version: 2.0.1
  Logging:
    url: {LoggingURL}
    from: {LoggingVersion}{libraryPackages}

targets:
  {name}:
    scheme:
      testTargets:
        - {testsName}
        - {uiTestsName}
      configVariants:
        {configVariants}
    type: application
    platform: iOS
    deploymentTarget: {minimumDeploymentTarget}
    sources: "{quotedName}"
    dependencies:
      - package: Wirecall
      - package: Logging
      - package: Alamofire{libraryDependencies}{buildToolPlugins}{preBuildScripts}
    settings:
      PRODUCT_BUNDLE_IDENTIFIER: {bundleIdentifier}

  {testsName}:
    deploymentTarget: {minimumDeploymentTarget}
    platform: iOS
    type: bundle.unit-test
    sources: "{quotedName}Tests"
    info:
        path: Tests.plist
    dependencies:
      - target: {name}
    settings:
      PRODUCT_BUNDLE_IDENTIFIER: {testsBundleIdentifier}

  {uiTestsName}:
    deploymentTarget: {minimumDeploymentTarget}
    platform: iOS
    type: bundle.ui-testing
    sources: "{quotedName}UITests"
    info:
        path: UITests.plist
    dependencies:
      - target: {name}
    settings:
      PRODUCT_BUNDLE_IDENTIFIER: {uiTestsBundleIdentifier})yml";

bool comesAsPod(const LibraryRoutes &routes, const char *pod)
{
    return routes.pods.contains(QLatin1String(pod), Qt::CaseInsensitive);
}

// The packages' entries under `packages:`, each line after a line feed.
QString libraryPackagesBlock(const ProjectDetailsModel &details, const LibraryRoutes &routes)
{
    QString block;
    for (const LibraryPackage &package : routes.packages)
        block += QStringLiteral("\n  %1:\n    url: %2\n    from: %3")
                     .arg(yamlScalar(package.name), yamlScalar(package.url), yamlScalar(package.minimumVersion));
    if (routes.secretsPackages) {
        for (const LocalPackage &secrets : arkanaSecretsPackages(details))
            block += QStringLiteral("\n  %1:\n    path: %2").arg(yamlScalar(secrets.product), yamlScalar(secrets.path));
    }
    return block;
}

QString libraryDependenciesBlock(const ProjectDetailsModel &details, const LibraryRoutes &routes)
{
    QString block;
    for (const LibraryPackage &package : routes.packages) {
        if (package.products.isEmpty())
            continue; // a build tool only: the plug-in block names it
        block += QStringLiteral("\n      - package: ") + yamlScalar(package.name);
        if (package.products.size() == 1) {
            block += QStringLiteral("\n        product: ") + yamlScalar(package.products.constFirst());
            continue;
        }
        block += QStringLiteral("\n        products:");
        for (const QString &product : package.products)
            block += QStringLiteral("\n          - ") + yamlScalar(product);
    }
    if (routes.secretsPackages) {
        for (const LocalPackage &secrets : arkanaSecretsPackages(details))
            block += QStringLiteral("\n      - package: ") + yamlScalar(secrets.product);
    }
    return block;
}

QString buildToolPluginsBlock(const LibraryRoutes &routes)
{
    QString block;
    for (const LibraryPackage &package : routes.packages) {
        for (const QString &plugin : package.plugins)
            block += QStringLiteral("\n      - plugin: %1\n        package: %2")
                         .arg(yamlScalar(plugin), yamlScalar(package.name));
    }
    return block.isEmpty() ? block : QStringLiteral("\n    buildToolPlugins:") + block;
}

// The build phases that run tools the pods bring; a tool that is not among
// the pods has no phase, as its path would not exist.
QString preBuildScriptsBlock(const QString &name, const LibraryRoutes &routes)
{
    QString block;
    if (comesAsPod(routes, "R.swift"))
        block += QStringLiteral("\n      - script: |\n"
                                "          \"$PODS_ROOT/R.swift/rswift\" generate \"$SRCROOT/%1/Resources/R.generated.swift\"\n"
                                "        outputFiles:\n"
                                "          - %2\n"
                                "        name: R.swift\n"
                                "        basedOnDependencyAnalysis: false")
                     .arg(name, valueAround(QStringLiteral("$SRCROOT/"), name,
                                            QStringLiteral("/Resources/R.generated.swift")));
    if (comesAsPod(routes, "SwiftLint"))
        block += QStringLiteral("\n      - script: |\n"
                                "          \"${PODS_ROOT}/SwiftLint/swiftlint\"\n"
                                "        name: Swiftlint\n"
                                "        basedOnDependencyAnalysis: false");
    return block.isEmpty() ? block : QStringLiteral("\n    preBuildScripts:") + block;
}

} // namespace

QString makeXcodeGenSpecification(const ProjectDetailsModel &details, const LibraryRoutes &routes)
{
    const QString &name = details.projectName;
    return fill(QString::fromUtf8(specificationTemplate),
                {
                    // Names and identifiers stay plain where YAML reads them
                    // back as written, and are double-quoted otherwise.
                    {QStringLiteral("name"), yamlScalar(name)},
                    {QStringLiteral("testsName"), yamlScalar(name + QStringLiteral("Tests"))},
                    {QStringLiteral("uiTestsName"), yamlScalar(name + QStringLiteral("UITests"))},
                    {QStringLiteral("minimumDeploymentTarget"), details.minimumDeploymentTarget},
                    {QStringLiteral("bundleIdentifier"), yamlScalar(details.bundleIdentifier)},
                    {QStringLiteral("testsBundleIdentifier"), yamlScalar(details.bundleIdentifier + QStringLiteral(".test"))},
                    {QStringLiteral("uiTestsBundleIdentifier"),
                     yamlScalar(details.bundleIdentifier + QStringLiteral(".uitests"))},
                    // Paths are relative to project.yml, which XcodeGen resolves
                    // from the file's own folder: the project builds wherever
                    // it is cloned. Each is double-quoted, as the name it
                    // holds may not stand as a plain value.
                    {QStringLiteral("quotedName"), yamlDoubleQuotedContent(name)},
                    {QStringLiteral("configs"), variantBlock(details.configVariant, configsEntry)},
                    {QStringLiteral("configSettings"), variantBlock(details.configVariant, configSettingsEntry)},
                    {QStringLiteral("configVariants"), variantBlock(details.configVariant, configVariantsEntry)},
                    {QStringLiteral("AlamofireURL"), QString::fromLatin1(alamofirePackageURL)},
                    {QStringLiteral("WirecallURL"), QString::fromLatin1(wirecallPackageURL)},
                    {QStringLiteral("LoggingURL"), QString::fromLatin1(loggingPackageURL)},
                    {QStringLiteral("AlamofireVersion"), QString::fromLatin1(alamofirePackageVersion)},
                    {QStringLiteral("LoggingVersion"), QString::fromLatin1(loggingPackageMinimumVersion)},
                    {QStringLiteral("libraryPackages"), libraryPackagesBlock(details, routes)},
                    {QStringLiteral("libraryDependencies"), libraryDependenciesBlock(details, routes)},
                    {QStringLiteral("buildToolPlugins"), buildToolPluginsBlock(routes)},
                    // The name stands inside the script's block scalar.
                    {QStringLiteral("preBuildScripts"), preBuildScriptsBlock(name, routes)},
                });
}

bool writeXcodeGenSpecification(const QString &projectRoot, const ProjectDetailsModel &details,
                                const LibraryRoutes &routes)
{
    QString error;
    if (!writeTextFileAtomically(projectRoot + QStringLiteral("/project.yml"),
                                 makeXcodeGenSpecification(details, routes), &error)) {
        debugConsole(error);
        return false;
    }
    return true;
}

} // namespace plinth
