#include "generation/SecretsIntegration.h"

#include "app/base/DebugConsole.h"
#include "generation/LibraryRoutes.h"
#include "generation/SafeFileOperations.h"
#include "generation/Utf8TextFile.h"
#include "generation/YamlScalar.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace plinth {

namespace {

QStringList variantLabels(const ProjectDetailsModel &details)
{
    QStringList labels;
    for (const CheckBoxItem &variant : details.configVariant)
        labels << variant.label;
    return labels;
}

QRegularExpression pattern(const QString &source)
{
    return QRegularExpression(source, QRegularExpression::UseUnicodePropertiesOption);
}

/// The first match of `source` in `text`, trimmed of white space at both ends.
std::optional<QString> firstMatch(const QString &source, const QString &text)
{
    const QRegularExpression expression = pattern(source);
    if (!expression.isValid())
        return std::nullopt;
    const QRegularExpressionMatch match = expression.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(0).trimmed();
}

/// Capture group 1 of every match of `source` in `text`, each trimmed.
QStringList captures(const QString &source, const QString &text)
{
    const QRegularExpression expression = pattern(source);
    if (!expression.isValid()) {
        debugConsole(QStringLiteral("Error with regular expression: ") + expression.errorString());
        return {};
    }
    QStringList values;
    auto matches = expression.globalMatch(text);
    while (matches.hasNext())
        values << matches.next().captured(1).trimmed();
    return values;
}

QString switchLines(const QStringList &labels, const QString &body)
{
    QStringList lines;
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QString &label = labels.at(i);
        lines << (i == 0 ? QStringLiteral("\t#if ") : QStringLiteral("\t\t#elseif ")) + label
                     + QStringLiteral("\n\t\t") + body.arg(label);
    }
    return lines.join(QLatin1Char('\n'));
}

bool isLink(const QString &path)
{
    return fileops::entryKind(fileops::nativePath(path)) == fileops::EntryKind::symlink;
}

bool writeBack(const QString &path, const QString &text)
{
    QString error;
    if (writeTextFileIfChanged(path, text, &error))
        return true;
    debugConsole(QStringLiteral("Failed to write to the file: ") + error);
    return false;
}

// An environment switch without a single branch would not compile; the file
// is better left as it is.
bool haveVariants(const QStringList &labels, const QString &path)
{
    if (!labels.isEmpty())
        return true;
    debugConsole(QStringLiteral("No configuration variants chosen; left unchanged: ") + path);
    return false;
}

bool updateAppSecrets(const QString &path, const QStringList &labels)
{
    if (!haveVariants(labels, path))
        return false;
    const QString replacement = QStringLiteral("\n\tprivate static var environment: SecretsEnvironmentProtocol {\n    ")
                                + environmentSwitchLines(labels)
                                + QStringLiteral("\n    \t#else\n    \tfatalError(\"Build environment not found!!\")"
                                                 "\n    \t#endif\n\t}\n");
    return replaceSection(QStringLiteral("private static var environment:"), QStringLiteral("}"), replacement, path,
                          true);
}

bool updateConstants(const QString &path, const QStringList &labels)
{
    if (!haveVariants(labels, path))
        return false;
    const QString replacement = QStringLiteral("struct URL {\n    ") + urlSwitchLines(labels, QStringLiteral("baseURL"))
                                + QStringLiteral("\n    \t#else\n    \t#endif\n\n    ")
                                + urlSwitchLines(labels, QStringLiteral("awsURL"))
                                + QStringLiteral("\n    \t#else\n    \t#endif\n\t}");
    return replaceSection(QStringLiteral("struct URL {"), QStringLiteral("}"), replacement, path);
}

bool updateSceneDelegate(const QString &path, const QString &developmentSchemeName)
{
    if (developmentSchemeName.isEmpty()) {
        debugConsole(QStringLiteral("No development variant chosen; left unchanged: ") + path);
        return false;
    }
    return replaceSection(QStringLiteral("#if"), QStringLiteral("Development"),
                          QStringLiteral("#if ") + developmentSchemeName, path);
}

} // namespace

QString environmentsList(const QStringList &labels)
{
    QStringList lines;
    for (const QString &label : labels)
        lines << QStringLiteral("  - ") + yamlScalar(label);
    return lines.join(QLatin1Char('\n'));
}

QString environmentSwitchLines(const QStringList &labels)
{
    return switchLines(labels, QStringLiteral("return Secrets.%1()"));
}

QString urlSwitchLines(const QStringList &labels, const QString &name)
{
    return switchLines(labels, QStringLiteral("static let ") + name + QStringLiteral(" = \"")
                                   + QLatin1String(generatedSiteBaseURL) + QStringLiteral("%1\""));
}

QString makeEnvFileContent(const QString &arkanaText, const QStringList &labels)
{
    const auto global = firstMatch(QStringLiteral("global_secrets:\\s*(\\n\\s*-.*)+"), arkanaText);
    const auto perEnvironment = firstMatch(QStringLiteral("environment_secrets:\\s*(\\n\\s*-.*)+"), arkanaText);
    if (!global || !perEnvironment)
        return {};
    const QString keyPattern = QStringLiteral("\\s*-\\s*(.*)");
    QString content;
    for (const QString &key : captures(keyPattern, *global))
        content += QStringLiteral("export ") + key + QStringLiteral(" = \"Some global secrets\"\n");
    const QStringList environmentKeys = captures(keyPattern, *perEnvironment);
    for (const QString &label : labels) {
        content += QStringLiteral("\n# ") + label + QStringLiteral(" Keys\n");
        for (const QString &key : environmentKeys)
            content += QStringLiteral("export ") + key + label + QStringLiteral("=\n");
    }
    return content;
}

bool updateArkanaEnvironments(const QString &environments, const QString &arkanaPath)
{
    const auto text = readUtf8File(arkanaPath);
    if (!text) {
        debugConsole(QStringLiteral("Failed to read the file."));
        return false;
    }
    static const QRegularExpression list = pattern(QStringLiteral("(environments:\\s*\\n)((\\s*-.*\\n)+)"));
    QString updated = *text;
    const QRegularExpressionMatch match = list.match(updated);
    if (match.hasMatch())
        updated.replace(match.capturedStart(0), match.capturedLength(0),
                        QStringLiteral("environments:\n") + environments + QLatin1Char('\n'));
    return writeBack(arkanaPath, updated);
}

bool writeEnvFile(const QString &arkanaPath, const QStringList &labels)
{
    const auto arkanaText = readUtf8File(arkanaPath);
    if (!arkanaText) {
        debugConsole(QStringLiteral("Failed to read the file."));
        return false;
    }
    const QString envPath = QFileInfo(arkanaPath).dir().filePath(QStringLiteral(".env"));
    const auto kind = fileops::entryKind(fileops::nativePath(envPath));
    if (kind != fileops::EntryKind::file && kind != fileops::EntryKind::unknown) {
        debugConsole(QStringLiteral("Not replaced, not a plain file: ") + envPath);
        return false;
    }
    QString error;
    if (!writeTextFileIfChanged(envPath, makeEnvFileContent(*arkanaText, labels), &error)) {
        debugConsole(error);
        return false;
    }
    return true;
}

namespace {

/// Where the line break that ends `text` before `position` begins, when only
/// spaces and tabs lie between; -1 otherwise.
qsizetype lineBreakBefore(const QString &text, qsizetype position)
{
    qsizetype at = position;
    while (at > 0 && (text.at(at - 1) == QLatin1Char(' ') || text.at(at - 1) == QLatin1Char('\t')))
        --at;
    if (at == 0 || text.at(at - 1) != QLatin1Char('\n'))
        return -1;
    return at >= 2 && text.at(at - 2) == QLatin1Char('\r') ? at - 2 : at - 1;
}

/// The length of the line break at `position` ("\n" or "\r\n"), or 0.
qsizetype lineBreakAt(const QString &text, qsizetype position)
{
    if (text.mid(position, 1) == QLatin1String("\n"))
        return 1;
    return text.mid(position, 2) == QLatin1String("\r\n") ? 2 : 0;
}

} // namespace

bool replaceSection(const QString &start, const QString &end, const QString &replacement, const QString &filePath,
                    bool wholeLines)
{
    const auto read = readUtf8File(filePath);
    if (!read)
        return false;
    const QString &text = *read;
    const qsizetype sectionStart = text.indexOf(start);
    const qsizetype endMarker = sectionStart < 0 ? -1 : text.indexOf(end, sectionStart);
    if (sectionStart < 0 || endMarker < 0) {
        debugConsole(QStringLiteral("Environment section not found."));
        return false;
    }

    QString body = replacement;
    QString lineBreak = QStringLiteral("\n");
    qsizetype sectionEnd = endMarker + end.size();
    if (sectionEnd < text.size()) {
        const QChar next = text.at(sectionEnd);
        const bool crlf = next == QLatin1Char('\r') && sectionEnd + 1 < text.size()
                          && text.at(sectionEnd + 1) == QLatin1Char('\n');
        const bool surrogatePair = next.isHighSurrogate() && sectionEnd + 1 < text.size()
                                   && text.at(sectionEnd + 1).isLowSurrogate();
        if (crlf) {
            body.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            lineBreak = QStringLiteral("\r\n");
        }
        sectionEnd += (crlf || surrogatePair) ? 2 : 1;
    }
    qsizetype replacedFrom = sectionStart;
    if (wholeLines && replacement.startsWith(QLatin1Char('\n'))) {
        const qsizetype previousBreak = lineBreakBefore(text, sectionStart);
        if (previousBreak >= 0)
            replacedFrom = previousBreak;
        if (text.at(sectionEnd - 1) == QLatin1Char('\n'))
            sectionEnd += lineBreakAt(text, sectionEnd);
    }
    const QString updated = text.left(replacedFrom) + body + lineBreak + text.mid(sectionEnd);
    return writeBack(filePath, updated);
}

namespace {

// Arkana makes local Swift packages instead of pods when its setting says
// "spm"; the setting's line is rewritten where it stands.
bool useSwiftPackageManager(const QString &arkanaPath)
{
    const auto text = readUtf8File(arkanaPath);
    if (!text)
        return false;
    static const QRegularExpression setting(QStringLiteral("^package_manager:[^\\r\\n]*"),
                                            QRegularExpression::MultilineOption);
    QString updated = *text;
    if (setting.match(updated).hasMatch())
        updated.replace(setting, QStringLiteral("package_manager: spm"));
    else
        updated += QLatin1String(updated.isEmpty() || updated.endsWith(QLatin1Char('\n')) ? "" : "\n")
                   + QStringLiteral("package_manager: spm\n");
    return updated == *text || writeBack(arkanaPath, updated);
}

} // namespace

bool updateSecretsFiles(const QString &filePath, const ProjectDetailsModel &details)
{
    const QString name = QFileInfo(filePath).fileName();
    const bool arkana = name.contains(QStringLiteral("arkana.yml"));
    const bool appSecrets = name.contains(QStringLiteral("AppSecrets.swift"));
    const bool constants = name.contains(QStringLiteral("Constants.swift"));
    const bool sceneDelegate = name.contains(QStringLiteral("SceneDelegate.swift"));
    if (!(arkana || appSecrets || constants || sceneDelegate) || isLink(filePath))
        return true;

    const QStringList labels = variantLabels(details);
    bool succeeded = true;
    if (arkana) {
        if (!readUtf8File(filePath)) {
            debugConsole(QStringLiteral("Failed to read the file."));
            succeeded = false;
        } else {
            succeeded = updateArkanaEnvironments(environmentsList(labels), filePath) && succeeded;
            succeeded = writeEnvFile(filePath, labels) && succeeded;
            if (secretsComeAsPackages(details))
                succeeded = useSwiftPackageManager(filePath) && succeeded;
        }
    }
    if (appSecrets)
        succeeded = updateAppSecrets(filePath, labels) && succeeded;
    if (constants)
        succeeded = updateConstants(filePath, labels) && succeeded;
    if (sceneDelegate)
        succeeded = updateSceneDelegate(filePath, details.developmentSchemeName) && succeeded;
    return succeeded;
}

} // namespace plinth
