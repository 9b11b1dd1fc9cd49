#pragma once

#include "project/ProjectDetailsModel.h"

#include <QStringList>

namespace plinth {

class CommandRunner;

/// The files and folders a run over the existing project `details` names may
/// write or replace, relative to its folder: the Podfile and its lock, the
/// Gemfile and its lock, the Arkana files, the Xcode project file and file
/// header, and the place of each chosen module.
QStringList filesTheRunChanges(const ProjectDetailsModel &details);

/// Of `paths` (relative to `projectFolder`), those with changes Git has not
/// committed (modified, staged, deleted or untracked; ignored files do not
/// count), as Git lists them, relative to `projectFolder`. Empty when the
/// folder is not in a Git work tree or Git cannot be run. Blocks on Git:
/// call it on a worker thread.
QStringList uncommittedChanges(const CommandRunner &runner, const QString &projectFolder, const QStringList &paths);

} // namespace plinth
