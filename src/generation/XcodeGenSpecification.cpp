#include "generation/XcodeGenSpecification.h"

#include "app/DebugConsole.h"
#include "generation/AtomicFile.h"

#include <QStringList>

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

QString configsEntry(const QString &label)
{
    return QStringLiteral("  %1 debug: debug\n  %1 release: release").arg(label);
}

QString configSettingsEntry(const QString &label)
{
    return QStringLiteral("    %1:\n      OTHER_SWIFT_FLAGS: $(inherited) -D %1 -D ACCELERATE_NEW_LAPACK -D "
                          "ACCELERATE_LAPACK_ILP64")
        .arg(label);
}

QString configVariantsEntry(const QString &label)
{
    return QStringLiteral("        - ") + label;
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

const char specificationTemplate[] = R"yml(name: {projectName}
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
    INFOPLIST_KEY_CFBundleDisplayName: {projectName}
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
    from: {LoggingVersion}

targets:
  {projectName}:
    scheme:
      testTargets:
        - {projectName}Tests
        - {projectName}UITests
      configVariants:
        {configVariants}
    type: application
    platform: iOS
    deploymentTarget: {minimumDeploymentTarget}
    sources: "{quotedProjectPath}/{projectName}/{projectName}"
    dependencies:
      - package: Wirecall
      - package: Logging
      - package: Alamofire
    preBuildScripts:
      - script: |
          "$PODS_ROOT/R.swift/rswift" generate "$SRCROOT/{projectName}/Resources/R.generated.swift"
        outputFiles:
          - $SRCROOT/{projectName}/Resources/R.generated.swift
        name: R.swift
        basedOnDependencyAnalysis: false
      - script: |
          "${PODS_ROOT}/SwiftLint/swiftlint"
        name: Swiftlint
        basedOnDependencyAnalysis: false
    settings:
      PRODUCT_BUNDLE_IDENTIFIER: {bundleIdentifier}

  {projectName}Tests:
    deploymentTarget: {minimumDeploymentTarget}
    platform: iOS
    type: bundle.unit-test
    sources: "{quotedProjectPath}/{projectName}/{projectName}Tests"
    info:
        path: "{quotedProjectPath}/{projectName}/Tests.plist"
    dependencies:
      - target: {projectName}
    settings:
      PRODUCT_BUNDLE_IDENTIFIER: {bundleIdentifier}.test

  {projectName}UITests:
    deploymentTarget: {minimumDeploymentTarget}
    platform: iOS
    type: bundle.ui-testing
    sources: "{quotedProjectPath}/{projectName}/{projectName}UITests"
    info:
        path: "{quotedProjectPath}/{projectName}/UITests.plist"
    dependencies:
      - target: {projectName}
    settings:
      PRODUCT_BUNDLE_IDENTIFIER: {bundleIdentifier}.uitests)yml";

} // namespace

QString makeXcodeGenSpecification(const ProjectDetailsModel &details)
{
    return fill(QString::fromUtf8(specificationTemplate),
                {
                    {QStringLiteral("projectName"), details.projectName},
                    {QStringLiteral("minimumDeploymentTarget"), details.minimumDeploymentTarget},
                    {QStringLiteral("bundleIdentifier"), details.bundleIdentifier},
                    // Every path is a double-quoted scalar: unquoted, a " #" or
                    // ": " in a folder's name would end the value. Inside the
                    // quotes a quote or backslash would end or escape it.
                    {QStringLiteral("quotedProjectPath"),
                     QString(details.projectPath).replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                         .replace(QLatin1Char('"'), QStringLiteral("\\\""))},
                    {QStringLiteral("configs"), variantBlock(details.configVariant, configsEntry)},
                    {QStringLiteral("configSettings"), variantBlock(details.configVariant, configSettingsEntry)},
                    {QStringLiteral("configVariants"), variantBlock(details.configVariant, configVariantsEntry)},
                    {QStringLiteral("AlamofireURL"), QString::fromLatin1(alamofirePackageURL)},
                    {QStringLiteral("WirecallURL"), QString::fromLatin1(wirecallPackageURL)},
                    {QStringLiteral("LoggingURL"), QString::fromLatin1(loggingPackageURL)},
                    {QStringLiteral("AlamofireVersion"), QString::fromLatin1(alamofirePackageVersion)},
                    {QStringLiteral("LoggingVersion"), QString::fromLatin1(loggingPackageMinimumVersion)},
                });
}

QString makeXcodeGenSpecification()
{
    return makeXcodeGenSpecification(currentProjectDetails());
}

bool writeXcodeGenSpecification(const QString &projectRoot, const ProjectDetailsModel &details)
{
    QString error;
    if (!writeTextFileAtomically(projectRoot + QStringLiteral("/project.yml"), makeXcodeGenSpecification(details),
                                 &error)) {
        debugConsole(error);
        return false;
    }
    return true;
}

bool writeXcodeGenSpecification(const QString &projectRoot)
{
    return writeXcodeGenSpecification(projectRoot, currentProjectDetails());
}

} // namespace plinth
