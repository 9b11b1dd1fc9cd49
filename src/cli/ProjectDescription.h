#pragma once

#include "project/ProjectDetailsModel.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace plinth {

/// A project description read from JSON whose keys are the field names of
/// ProjectDetailsModel, checked with the rules the wizard's screens apply.
/// Reading only looks at the file system; it never writes.
struct ProjectDescription
{
    ProjectDetailsModel details;
    /// Every problem found, one line each ("field: what is wrong"); the
    /// description may be generated only when there is none.
    QStringList problems;

    bool isValid() const { return problems.isEmpty(); }
};

/// Reads and checks the description in `json`. Relative paths in it are
/// taken from `baseDirectory`. A `destination`, when given, stands for the
/// description's projectPath (relative to the current folder).
ProjectDescription readProjectDescription(const QByteArray &json, const QString &baseDirectory,
                                          const std::optional<QString> &destination = std::nullopt);

/// Reads and checks the description file at `path`; relative paths in it are
/// taken from the file's own folder, as XcodeGen takes those of project.yml.
ProjectDescription readProjectDescriptionFile(const QString &path,
                                              const std::optional<QString> &destination = std::nullopt);

} // namespace plinth
