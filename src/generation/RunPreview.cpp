#include "generation/RunPreview.h"

#include "generation/GenerationRun.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ShellQuote.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>

namespace plinth {

namespace {

/// Folders of a project's top level that the run neither reads nor writes
/// (the pods are not installed in a preview): the copy leaves them out.
const QStringList leftOut = {QStringLiteral(".git"), QStringLiteral("Pods"), QStringLiteral("vendor"),
                             QStringLiteral("DerivedData"), QStringLiteral("build"), QStringLiteral("node_modules")};

/// Every file below `root` (links not followed), relative to it, sorted.
QStringList filesBelow(const QString &root)
{
    const QDir top(root);
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = top.relativeFilePath(it.next());
        if (!leftOut.contains(path.section(QLatin1Char('/'), 0, 0)))
            files << path;
    }
    files.sort();
    return files;
}

bool sameBytes(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    return first.size() == second.size() && first.readAll() == second.readAll();
}

/// `diff -u` of `from` and `to` under the given labels; empty when diff
/// cannot compare them.
QString unifiedDiff(const CommandRunner &runner, const QString &fromLabel, const QString &toLabel, const QString &from,
                    const QString &to)
{
    const ScriptResult result = runner.executeCommandWithStatus(
        QStringLiteral("diff -u -L ") + shellArgument(fromLabel) + QStringLiteral(" -L ") + shellArgument(toLabel)
            + QLatin1Char(' ') + shellArgument(from) + QLatin1Char(' ') + shellArgument(to) + QStringLiteral(" 2>&1"),
        TimeLimit::probe);
    return result.exitCode == 1 ? result.output : QString();
}

int lineCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    return int(bytes.count('\n') + (!bytes.isEmpty() && !bytes.endsWith('\n') ? 1 : 0));
}

} // namespace

bool RunPreview::stepsSucceeded() const
{
    return problem.isEmpty() && std::none_of(steps.begin(), steps.end(), [](const GenerationStep &step) {
               return step.outcome == GenerationStep::Outcome::failed;
           });
}

RunPreview previewRun(const ProjectDetailsModel &details, const ResourceBundle &bundle, const CommandRunner &runner)
{
    RunPreview preview;
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/plinth-preview-XXXXXX"));
    if (!work.isValid()) {
        preview.problem = QStringLiteral("No temporary folder for the preview: ") + work.errorString();
        return preview;
    }
    const bool existing = details.projectType != ProjectType::new_;
    ProjectDetailsModel copy = details;
    QString original; // the project's folder, or the destination of a new project
    QString copied;   // where the run works instead
    if (existing) {
        original = details.projectRoot();
        copied = work.filePath(QFileInfo(original).fileName());
        QString command = QStringLiteral("mkdir ") + shellArgument(copied) + QStringLiteral(" && cd ")
                          + shellArgument(original) + QStringLiteral(" && tar -cf -");
        for (const QString &folder : leftOut)
            command += QStringLiteral(" --exclude=./") + folder;
        command += QStringLiteral(" . | (cd ") + shellArgument(copied) + QStringLiteral(" && tar -xf -)");
        const ScriptResult result = runner.executeCommandWithStatus(command);
        if (result.exitCode != 0) {
            preview.problem = QStringLiteral("The project could not be copied for the preview: ")
                              + result.output.trimmed();
            return preview;
        }
        copy.projectFolder = copied;
    } else {
        original = details.projectPath;
        copied = work.path();
        copy.projectPath = copied;
        copy.projectFolder.clear();
    }

    // What the steps say names the project, not the copy.
    GenerationRun(copy, bundle, runner, [&](GenerationStep step) {
        step.detail.replace(copied, original);
        preview.steps << step;
    }).generate();

    const QString root = existing ? copied : copy.projectRoot();
    const QString projectRoot = existing ? original : details.projectRoot();
    for (const QString &path : filesBelow(root)) {
        const QString after = root + QLatin1Char('/') + path;
        const QString before = projectRoot + QLatin1Char('/') + path;
        PreviewedFile file{path, !existing || !QFileInfo(before).isFile()};
        if (!file.added && sameBytes(before, after))
            continue;
        if (!existing) {
            file.addedLines = lineCount(after);
            preview.files << file;
            continue;
        }
        file.diff = unifiedDiff(runner, file.added ? QStringLiteral("/dev/null") : QStringLiteral("a/") + path,
                                QStringLiteral("b/") + path, file.added ? QStringLiteral("/dev/null") : before, after)
                        .replace(copied, original);
        bool inHunk = false; // the two label lines come before the first hunk
        for (const QString &line : file.diff.split(QLatin1Char('\n'))) {
            inHunk = inHunk || line.startsWith(QLatin1String("@@"));
            if (inHunk && line.startsWith(QLatin1Char('+')))
                ++file.addedLines;
            else if (inHunk && line.startsWith(QLatin1Char('-')))
                ++file.removedLines;
        }
        preview.files << file;
    }
    return preview;
}

} // namespace plinth
