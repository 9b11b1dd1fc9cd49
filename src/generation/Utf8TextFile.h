#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace plinth {

/// `bytes` as text when they are well-formed UTF-8, so that encoding the text
/// again gives exactly the same bytes (a byte order mark is kept as U+FEFF);
/// nothing for any other content (images, Latin-1 text, truncated sequences).
std::optional<QString> decodeUtf8Exactly(const QByteArray &bytes);

/// The text of the regular file at `path`, read without following a link at
/// the path, or nothing when it cannot be read or is not UTF-8.
std::optional<QString> readUtf8File(const QString &path);

/// Writes `text` atomically (see writeTextFileAtomically) unless the file
/// already holds exactly that text, in which case the file, its permissions and
/// its modification time stay untouched. `written` (when given) says whether a
/// write happened.
bool writeTextFileIfChanged(const QString &path, const QString &text, QString *error = nullptr,
                            bool *written = nullptr);

} // namespace plinth
