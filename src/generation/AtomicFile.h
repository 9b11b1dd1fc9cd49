#pragma once

#include <QString>

namespace plinth {

/// Writes `text` as UTF-8 to `path` through a temporary file that then
/// replaces the target, so a reader never sees half a file and a failed write
/// leaves the old file as it was. An existing file keeps its permissions. On
/// failure `error` (when given) receives a one-line description naming the
/// path.
bool writeTextFileAtomically(const QString &path, const QString &text, QString *error = nullptr);

} // namespace plinth
