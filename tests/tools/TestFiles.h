#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace plinth::test {

/// Writes `bytes` to `path`, making the folders on the way; with
/// `executable`, the owner may run it.
inline bool writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    return !executable || file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

/// The bytes of `path`; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The text of `path`, read as UTF-8.
inline QString readText(const QString &path)
{
    return QString::fromUtf8(readFile(path));
}

/// Sets the modification time of `path` (a link itself, not its target) to
/// a moment in 2020, so that a later write shows.
inline bool makeOld(const QString &path)
{
    const struct timespec times[2] = {{1577934245, 123456789}, {1577934245, 123456789}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

/// The modification time of `path` in nanoseconds (-1 when it is missing)
/// and its permission bits (0), read without following a link.
inline qint64 modificationTime(const QString &path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}
inline mode_t fileMode(const QString &path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

inline bool setFileMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

/// The lines taken out of `before` and the lines put into it, each in order,
/// that make `after`: what is not in a longest common run of lines.
struct LineChanges
{
    QStringList removed;
    QStringList added;
};

inline LineChanges lineChanges(const QByteArray &before, const QByteArray &after)
{
    const QStringList a = QString::fromUtf8(before).split(QLatin1Char('\n'));
    const QStringList b = QString::fromUtf8(after).split(QLatin1Char('\n'));
    std::vector<std::vector<int>> common(a.size() + 1, std::vector<int>(b.size() + 1));
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.size() - 1; j >= 0; --j)
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    }
    LineChanges changes;
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i] == b[j]) {
            ++i;
            ++j;
        } else if (j < b.size() && (i == a.size() || common[i][j + 1] >= common[i + 1][j])) {
            changes.added << b[j++];
        } else {
            changes.removed << a[i++];
        }
    }
    return changes;
}

} // namespace plinth::test
