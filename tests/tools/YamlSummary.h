#pragma once

#include "tools/RunProcess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QJsonArray>

namespace plinth::test {

/// What a real YAML parser makes of the project.yml at `path`: the parts
/// yaml_summary.py prints.
inline QJsonObject yamlSummary(const QString &path)
{
    const auto result = runProcess(PLINTH_PYTHON, {PLINTH_SOURCE_DIR "/tests/tools/yaml_summary.py", path});
    return QJsonDocument::fromJson(result.output.toUtf8()).object();
}

/// What is wrong with the Swift packages of a summary: a package the app
/// target depends on or runs a plug-in of that is not declared, a declared
/// package that comes neither from an https repository nor from the
/// project's own Dependencies folder. Empty when nothing is.
inline QStringList packageProblems(const QJsonObject &summary)
{
    QStringList problems;
    const QJsonObject sources = summary["packageSources"].toObject();
    QStringList used = summary["appPackages"].toVariant().toStringList();
    for (const QJsonValue &plugin : summary["appPlugins"].toArray())
        used << plugin[1].toString();
    for (const QString &name : used) {
        if (!sources.contains(name))
            problems << name + QStringLiteral(" is not declared");
    }
    for (auto source = sources.begin(); source != sources.end(); ++source) {
        const QString from = source.value().toString();
        if (!from.startsWith(QLatin1String("https://")) && from != QStringLiteral("Dependencies/") + source.key())
            problems << source.key() + QStringLiteral(" comes from ") + from;
    }
    return problems;
}

} // namespace plinth::test
