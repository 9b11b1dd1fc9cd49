#pragma once

#include "project/ProjectDetailsModel.h"

#include <QByteArray>
#include <QString>

namespace plinth {

/// The name of the description a new project keeps in its root.
inline constexpr char descriptionFileName[] = "plinth.json";

/// The description of the new project `details` describes, in the form
/// `plinth-cli generate` reads: every field the run uses, the destination
/// relative to the file (the folder that holds the project), nothing that
/// names this machine. Generating from it with another destination makes the
/// same project again.
QByteArray newProjectDescription(const ProjectDetailsModel &details);

/// Writes newProjectDescription(details) atomically to the project root as
/// plinth.json. A failure is written to the debug console.
bool writeNewProjectDescription(const QString &projectRoot, const ProjectDetailsModel &details);

} // namespace plinth
