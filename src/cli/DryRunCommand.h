#pragma once

#include "cli/CliContext.h"
#include "project/ProjectDetailsModel.h"

namespace plinth {

/// `plinth-cli generate --dry-run`: the run made on a copy (previewRun), and
/// what it would do printed: for an existing project the files it would
/// change and add with their line counts, then a unified diff of each that
/// `patch -p1` applies in the project's folder; for a new project the tree
/// it would make. Exit status 0, or 1 when a step would fail (named on
/// standard error). Writes nothing into the destination or the project.
int previewGeneration(const ProjectDetailsModel &details, const CliContext &context);

} // namespace plinth
