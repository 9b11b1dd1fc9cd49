#include "generation/UncommittedWork.h"

#include "generation/LibraryRoutes.h"
#include "generation/ModuleInstallation.h"
#include "generation/PodInstallation.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/ShellQuote.h"

#include <QDir>

namespace plinth {

QStringList filesTheRunChanges(const ProjectDetailsModel &details, const LibraryPackages &catalog)
{
    const QDir root(details.projectRoot());
    const QString project = root.relativeFilePath(xcodeProjectPath(details));
    QStringList files{QStringLiteral("Gemfile"),
                      QStringLiteral("Gemfile.lock"),
                      QStringLiteral(".env"),
                      QStringLiteral(".arkana.yml"),
                      project + QStringLiteral("/project.pbxproj"),
                      project + QStringLiteral("/xcshareddata/IDETemplateMacros.plist")};
    // A project without a Podfile whose libraries all come as packages gets
    // none, nor a lock.
    if (usesPodfile(details, libraryRoutes(details, catalog)))
        files << QStringLiteral("Podfile") << QStringLiteral("Podfile.lock");
    for (const ListItem &module : details.userSelectedModules)
        files << root.relativeFilePath(moduleDestinationPath(details, module.directoryName));
    return files;
}

QStringList uncommittedChanges(const CommandRunner &runner, const QString &projectFolder, const QStringList &paths)
{
    if (paths.isEmpty())
        return {};
    const QString git = QStringLiteral("git -C ") + shellArgument(projectFolder);
    // Where the folder lies in its work tree: status names paths from the
    // tree's top.
    const ScriptResult prefix =
        runner.executeCommandWithStatus(git + QStringLiteral(" rev-parse --show-prefix 2>/dev/null"), TimeLimit::probe);
    if (prefix.exitCode != 0)
        return {};
    const QString folderInTree = prefix.output.trimmed();

    // No optional locks: asking must not write Git's index under the user.
    QString command = git
                      + QStringLiteral(" --literal-pathspecs --no-optional-locks status --porcelain -z"
                                       " --untracked-files=all --");
    for (const QString &path : paths)
        command += QLatin1Char(' ') + shellArgument(path);
    const ScriptResult status = runner.executeCommandWithStatus(command + QStringLiteral(" 2>/dev/null"),
                                                                TimeLimit::probe);
    if (status.exitCode != 0)
        return {};
    QStringList changed;
    const QStringList records = status.output.split(QChar(0), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QString &record = records.at(i);
        // "XY path"; a rename or copy is followed by the path it came from.
        if (record.size() < 4 || record.at(2) != QLatin1Char(' '))
            continue;
        if (record.at(0) == QLatin1Char('R') || record.at(0) == QLatin1Char('C'))
            ++i;
        QString path = record.mid(3);
        if (path.startsWith(folderInTree))
            path.remove(0, folderInTree.size());
        if (!changed.contains(path))
            changed << path;
    }
    return changed;
}

} // namespace plinth
