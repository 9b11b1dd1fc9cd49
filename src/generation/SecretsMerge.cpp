#include "generation/SecretsMerge.h"

#include "generation/Utf8TextFile.h"
#include "generation/YamlScalar.h"
#include "project/BuildSettingsRules.h"
#include "project/XcodeProjectFile.h"

#include <QRegularExpression>

namespace plinth {

namespace {

QString lineBreakOf(const QString &text)
{
    return text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

/// The text's lines without their line breaks ("\r" of "\r\n" included).
QStringList linesOf(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

/// `text` with `lines` appended, each ended by the text's own line break;
/// a last line without one gets one first.
QString appendLines(QString text, const QStringList &lines)
{
    const QString lineBreak = lineBreakOf(text);
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += lineBreak;
    for (const QString &line : lines)
        text += line + lineBreak;
    return text;
}

QString unquoted(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('\'') || value.front() == QLatin1Char('"'))
        && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

/// Where the block `key:` is: the line of the key, the line of its last entry
/// (the key's own line when it has none) and that entry's indentation.
struct ListBlock
{
    qsizetype keyLine = -1;
    qsizetype lastLine = -1;
    QString indentation = QStringLiteral("  ");
    QStringList entries;
    bool flowStyle = false;
};

ListBlock findListBlock(const QStringList &lines, const QString &key)
{
    static const QRegularExpression entryLine(QStringLiteral("^(\\s*)-\\s*(.*?)\\s*$"));
    // A byte order mark may stand before the first line's key.
    const QRegularExpression keyLine(QStringLiteral("^\\x{FEFF}?") + QRegularExpression::escape(key)
                                     + QStringLiteral("\\s*:\\s*(.*?)\\s*$"));
    ListBlock block;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = keyLine.match(lines.at(i));
        if (!match.hasMatch())
            continue;
        block.keyLine = i;
        block.lastLine = i;
        const QString rest = match.captured(1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char('#'))) {
            block.flowStyle = true;
            return block;
        }
        for (qsizetype j = i + 1; j < lines.size(); ++j) {
            const QString &line = lines.at(j);
            const QString trimmed = line.trimmed();
            if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
                continue;
            const QRegularExpressionMatch entry = entryLine.match(line);
            if (!entry.hasMatch())
                break;
            block.lastLine = j;
            block.indentation = entry.captured(1);
            QString value = entry.captured(2);
            const qsizetype comment = value.indexOf(QLatin1String(" #"));
            if (comment >= 0)
                value = value.left(comment);
            block.entries << unquoted(value);
        }
        return block;
    }
    return block;
}

} // namespace

std::optional<QStringList> arkanaListEntries(const QString &arkanaText, const QString &key)
{
    const ListBlock block = findListBlock(linesOf(arkanaText), key);
    if (block.flowStyle)
        return std::nullopt;
    return block.entries;
}

std::optional<QString> arkanaSetting(const QString &arkanaText, const QString &key)
{
    const QRegularExpression setting(QStringLiteral("^") + QRegularExpression::escape(key)
                                         + QStringLiteral(":[ \\t]*(\"[^\"]*\"|'[^']*'|[^#\\r\\n]*)"),
                                     QRegularExpression::MultilineOption);
    QString value = setting.match(arkanaText).captured(1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\''))
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

std::optional<QString> withArkanaListEntries(const QString &arkanaText, const QString &key, const QStringList &entries)
{
    const QStringList lines = linesOf(arkanaText);
    const ListBlock block = findListBlock(lines, key);
    if (block.flowStyle)
        return std::nullopt;
    QStringList added;
    for (const QString &entry : entries) {
        if (!block.entries.contains(entry) && !added.contains(entry))
            added << entry;
    }
    if (added.isEmpty())
        return arkanaText;
    QStringList newLines;
    for (const QString &entry : added)
        newLines << block.indentation + QStringLiteral("- ") + yamlScalar(entry);
    if (block.keyLine < 0)
        return appendLines(arkanaText, QStringList{key + QLatin1Char(':')} + newLines);

    // Insert after the last entry's line, keeping every byte around it.
    const QString lineBreak = lineBreakOf(arkanaText);
    qsizetype position = 0;
    for (qsizetype i = 0; i <= block.lastLine; ++i) {
        const qsizetype end = arkanaText.indexOf(QLatin1Char('\n'), position);
        if (end < 0) { // the last line, without a line break
            return appendLines(arkanaText, newLines);
        }
        position = end + 1;
    }
    return arkanaText.left(position) + newLines.join(lineBreak) + lineBreak + arkanaText.mid(position);
}

QStringList arkanaEnvironmentVariables(const QString &arkanaText)
{
    const QStringList environments = arkanaListEntries(arkanaText, QStringLiteral("environments")).value_or(QStringList());
    QStringList names = arkanaListEntries(arkanaText, QStringLiteral("global_secrets")).value_or(QStringList());
    for (const QString &secret :
         arkanaListEntries(arkanaText, QStringLiteral("environment_secrets")).value_or(QStringList())) {
        for (const QString &environment : environments)
            names << secret + environment;
    }
    return names;
}

QString envFileWithVariables(const QString &envText, const QStringList &names)
{
    QStringList missing;
    for (const QString &name : names) {
        const QRegularExpression set(QStringLiteral("^\\x{FEFF}?[ \\t]*(export[ \\t]+)?")
                                         + QRegularExpression::escape(name) + QStringLiteral("[ \\t]*="),
                                     QRegularExpression::MultilineOption);
        if (!set.match(envText).hasMatch() && !missing.contains(name))
            missing << name;
    }
    if (missing.isEmpty())
        return envText;
    QStringList lines{QStringLiteral("# Keys the Arkana secrets need (added by Plinth; fill in the values)")};
    for (const QString &name : missing)
        lines << QStringLiteral("export ") + name + QLatin1Char('=');
    return appendLines(envText, lines);
}

QString gemfileWithArkana(const QString &gemfileText)
{
    static const QRegularExpression declared(QStringLiteral("^\\x{FEFF}?[ \\t]*gem[ \\t(]+[\"']arkana[\"']"),
                                             QRegularExpression::MultilineOption);
    if (declared.match(gemfileText).hasMatch())
        return gemfileText;
    return appendLines(gemfileText, {QStringLiteral("gem \"arkana\"")});
}

QStringList existingProjectEnvironments(const QString &projectRoot, const QString &projectName)
{
    const auto usable = [](const QStringList &names) {
        QStringList environments;
        for (const QString &name : names) {
            if (variantLabelProblem(name, environments) == VariantLabelProblem::none)
                environments << name;
        }
        return environments;
    };
    if (const std::optional<QString> arkana = readUtf8File(projectRoot + QStringLiteral("/.arkana.yml"))) {
        const QStringList environments =
            usable(arkanaListEntries(*arkana, QStringLiteral("environments")).value_or(QStringList()));
        if (!environments.isEmpty())
            return environments;
    }
    const std::optional<QString> pbxproj =
        readUtf8File(projectRoot + QLatin1Char('/') + projectName + QStringLiteral(".xcodeproj/project.pbxproj"));
    QStringList configurations;
    if (pbxproj) {
        // After a separator in any case ("Staging debug", "QA-Release"),
        // else only as a capitalised word ("StagingDebug", but "Prerelease"
        // is a name of its own).
        static const QRegularExpression pairSuffix(
            QStringLiteral("(?:[ _-]+(?i:debug|release)|(?:Debug|Release))$"));
        for (const QString &name : targetBuildConfigurationNames(*pbxproj, projectName)) {
            QString environment = name;
            // "Staging Debug" and "Staging Release" build one environment;
            // plain "Debug" and "Release" stay what they are.
            const QRegularExpressionMatch pair = pairSuffix.match(environment);
            if (pair.hasMatch() && pair.capturedStart() > 0)
                environment = environment.left(pair.capturedStart());
            configurations << environment;
        }
    }
    QStringList environments = usable(configurations);
    if (environments.isEmpty())
        environments = QStringList{QStringLiteral("Debug"), QStringLiteral("Release")};
    return environments;
}

} // namespace plinth
