#pragma once

#include "app/base/ResourceBundle.h"
#include "generation/GenerationStep.h"
#include "project/ProjectDetailsModel.h"

#include <QList>
#include <QString>

namespace plinth {

class CommandRunner;

/// One file a run would add or change, relative to the project's folder.
struct PreviewedFile
{
    QString path;
    bool added = false;
    /// A unified diff ("--- a/path" / "+++ b/path", "--- /dev/null" for a
    /// file the run adds) that `patch -p1` applies in the project's folder.
    QString diff;
    int addedLines = 0;
    int removedLines = 0;
};

/// What a run would do, learnt without touching the destination or the
/// project: every step's outcome, and the files.
struct RunPreview
{
    QList<GenerationStep> steps;
    QList<PreviewedFile> files; ///< in path order
    /// Why no preview could be made at all (no temporary folder, the copy
    /// failed); empty otherwise.
    QString problem;

    bool stepsSucceeded() const;
};

/// Runs the generation of `details` on a copy, in a temporary folder outside
/// the destination and the project, and compares: a new project is made
/// there whole (every file is added); an existing project's folder is copied
/// first (without its Pods, vendor, build and Git folders, which the run
/// does not read), the run's steps (the Podfile, the Arkana files, the
/// modules and the real module script on the Xcode project) change the
/// copy, and each file that differs from the project's is diffed. The pods
/// are not installed. The temporary folder is removed before it returns.
/// Blocks on the toolchain: call it on a worker thread.
RunPreview previewRun(const ProjectDetailsModel &details, const ResourceBundle &bundle, const CommandRunner &runner);

} // namespace plinth
