#pragma once

#include <QString>

namespace plinth {

/// Whether an atomic write waits until the new content is on the disk before
/// it replaces the file. `unsynced` is for files that can be made again (a
/// project just generated from a template): readers still never see half a
/// file, but after a power cut the file may hold its old content.
enum class WriteDurability { synced, unsynced };

/// Writes `text` as UTF-8 to `path` through a temporary file that then
/// replaces the target, so a reader never sees half a file and a failed write
/// leaves the old file as it was. An existing file keeps its permissions. On
/// failure `error` (when given) receives a one-line description naming the
/// path.
bool writeTextFileAtomically(const QString &path, const QString &text, QString *error = nullptr,
                             WriteDurability durability = WriteDurability::synced);

} // namespace plinth
