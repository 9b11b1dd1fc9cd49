#pragma once

#include "project/ProjectDetailsModel.h"

#include <QString>
#include <QStringList>

namespace plinth {

/// The maker's web site; generated URL constants are this address followed by
/// a variant label, so it ends with "/".
inline constexpr char generatedSiteBaseURL[] = "https://www.tarnwick.com/";

/// Brings the Arkana files in line with the project's configuration variants.
/// Looks only at the file's name (substring tests, in this order):
/// "arkana.yml" rewrites its environments list and regenerates `.env` beside
/// it; "AppSecrets.swift" rewrites the environment switch; "Constants.swift"
/// the URL constants; "SceneDelegate.swift" the development-scheme condition.
/// Any other file, and a link, is left alone. Failures are written to the
/// debug console; the result is false when one of the rewrites failed.
bool updateSecretsFiles(const QString &filePath, const ProjectDetailsModel &details);

/// Replaces the text from the first `start` through the first `end` at or
/// after it, and the one character after `end`, with `replacement` + "\n".
/// When that character is the "\r" of a "\r\n", both are taken and the
/// replacement's line feeds become "\r\n", so a CRLF file stays CRLF. An `end`
/// at the very end of the file ends the section there. A file whose text does
/// not change is not written. False when the file cannot be read, a marker is
/// missing ("Environment section not found.") or writing fails.
/// With `wholeLines`, a replacement that begins with a line break of its own
/// also takes the white space before `start` on its line with the line break
/// before it, and one empty line after the section, which it then adds
/// itself: a second run leaves the file as the first one made it.
bool replaceSection(const QString &start, const QString &end, const QString &replacement,
                    const QString &filePath, bool wholeLines = false);

/// "  - L" per label (double-quoted where YAML would read L as something
/// else), joined with line feeds, no final line feed.
QString environmentsList(const QStringList &labels);
/// The `#if`/`#elseif` branches returning `Secrets.<label>()`.
QString environmentSwitchLines(const QStringList &labels);
/// The `#if`/`#elseif` branches defining `static let <name>` per label.
QString urlSwitchLines(const QStringList &labels, const QString &name);

/// The `.env` text for an `.arkana.yml` text: the global keys with a
/// placeholder value, then one block of keys per label. Empty when either
/// secrets block is missing.
QString makeEnvFileContent(const QString &arkanaText, const QStringList &labels);

/// Rewrites the `environments:` list of the `.arkana.yml` at `arkanaPath`.
bool updateArkanaEnvironments(const QString &environments, const QString &arkanaPath);

/// Writes `.env` beside the `.arkana.yml` at `arkanaPath` from its current
/// text. An existing `.env` is replaced, unless it is a link or a folder.
bool writeEnvFile(const QString &arkanaPath, const QStringList &labels);

} // namespace plinth
