#include "generation/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace plinth {

namespace {

// Replaces the existing regular file at `path` through a temporary file in
// the same folder, without waiting for the disk. False (errno set) on failure,
// the file then being as it was.
bool replaceWithoutSync(const QByteArray &path, const QByteArray &bytes)
{
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0)
        return false;
    QByteArray temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    qsizetype written = 0;
    bool ok = true;
    while (ok && written < bytes.size()) {
        const ssize_t chunk = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (chunk < 0 && errno != EINTR)
            ok = false;
        else if (chunk > 0)
            written += chunk;
    }
    ok = ok && ::fchmod(fd, status.st_mode & 07777) == 0;
    const int closed = ::close(fd);
    ok = ok && closed == 0 && ::rename(temporary.constData(), path.constData()) == 0;
    if (!ok) {
        const int failure = errno;
        ::unlink(temporary.constData());
        errno = failure;
    }
    return ok;
}

} // namespace

bool writeTextFileAtomically(const QString &path, const QString &text, QString *error, WriteDurability durability)
{
    const QFileInfo existing(path);
    const bool keepPermissions = existing.exists() && !existing.isSymLink();
    if (durability == WriteDurability::unsynced && keepPermissions && existing.isFile()) {
        if (replaceWithoutSync(QFile::encodeName(path), text.toUtf8()))
            return true;
        if (error)
            *error = QStringLiteral("Could not write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    const auto permissions = keepPermissions ? existing.permissions() : QFileDevice::Permissions();
    QSaveFile file(path);
    const QByteArray bytes = text.toUtf8();
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
                         && (!keepPermissions || file.setPermissions(permissions)) && file.commit();
    if (!written) {
        if (error)
            *error = QStringLiteral("Could not write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace plinth
