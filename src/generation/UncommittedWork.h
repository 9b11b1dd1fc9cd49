#pragma once

#include "project/LibraryPackages.h"
#include "project/ProjectDetailsModel.h"

#include <QStringList>

namespace plinth {

class CommandRunner;

/// The files and folders a run over the existing project `details` names may
/// write or replace, relative to its folder: the Podfile and its lock (unless
/// the project has no Podfile and needs none, every library coming as a
/// package of `catalog`), the Gemfile and its lock, the Arkana files, the
/// Xcode project file and file header, and the place of each chosen module.
/// Looks at the disk: call it on a worker thread.
QStringList filesTheRunChanges(const ProjectDetailsModel &details, const LibraryPackages &catalog);

/// Of `paths` (relative to `projectFolder`), those with changes Git has not
/// committed (modified, staged, deleted or untracked; ignored files do not
/// count), as Git lists them, relative to `projectFolder`. Empty when the
/// folder is not in a Git work tree or Git cannot be run. Blocks on Git:
/// call it on a worker thread.
QStringList uncommittedChanges(const CommandRunner &runner, const QString &projectFolder, const QStringList &paths);

} // namespace plinth
