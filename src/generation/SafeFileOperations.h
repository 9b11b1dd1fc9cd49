#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

namespace plinth {

/// File operations for walking and copying trees that may be a user's own
/// project: symbolic links are never followed (a link is reported as a link,
/// copied as a link and never opened), nothing is ever overwritten, and every
/// failure comes back as a one-line description. Paths are in the file
/// system's own encoding (QFile::encodeName), so names that are not UTF-8
/// still reach the right file.
namespace fileops {

enum class EntryKind { file, directory, symlink, other, unknown };

struct DirectoryEntry
{
    QByteArray name;
    EntryKind kind = EntryKind::unknown;
};

/// The kind of the item at `path` itself (a link is a link). `unknown` when it
/// cannot be examined; `error` then says why.
EntryKind entryKind(const QByteArray &path, QString *error = nullptr);

/// The entries of the folder at `path` without "." and "..", sorted by name
/// (byte order) so that a walk is the same on every run. A link to a folder is
/// listed as a link. False, with `error` set, when the folder cannot be opened.
bool listDirectory(const QByteArray &path, std::vector<DirectoryEntry> &entries, QString *error = nullptr);

/// Reads the regular file at `path` (never through a link) into `content`.
bool readRegularFile(const QByteArray &path, QByteArray &content, QString *error = nullptr);

/// Whether the regular file at `path` (never through a link) contains one of
/// `needles`, reading it only as far as the first match. `buffer` is reused
/// between calls; when the whole file fits in it (`complete` set), it holds the
/// file's bytes afterwards. False, with `error` set, when the file cannot be
/// read.
bool findInFile(const QByteArray &path, const std::vector<QByteArray> &needles, QByteArray &buffer, bool &found,
                bool &complete, QString *error = nullptr);

/// Creates the folder `path` with every missing parent; an existing folder is
/// accepted.
bool makePath(const QByteArray &path, QString *error = nullptr);

/// Copies the item at `source` to `destination`: a file with its permission
/// bits, a link as a link to the same target, a folder with everything below
/// it. Fails without touching anything when `destination` already exists.
/// Inside a folder, every child is tried even after one has failed.
bool copyItem(const QByteArray &source, const QByteArray &destination, QString *error = nullptr);

/// Removes the item at `path`: a file or a link (never its target), or a
/// folder with everything below it, links inside removed as links. Nothing
/// there is no failure. Stops at the first item that cannot be removed.
bool removeItem(const QByteArray &path, QString *error = nullptr);

/// Renames `from` to `to` (same folder or not) unless something already
/// exists at `to`.
bool renameWithoutReplacing(const QByteArray &from, const QByteArray &to, QString *error = nullptr);

/// The system's description of `errorNumber` ("Permission denied").
QString errorText(int errorNumber);

/// `path` in the file system's encoding, and back.
inline QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

inline QString displayPath(const QByteArray &path)
{
    return QFile::decodeName(path);
}

} // namespace fileops
} // namespace plinth
