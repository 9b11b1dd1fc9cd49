#include "generation/SafeFileOperations.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plinth::fileops {

namespace {

QString describe(const char *what, const QByteArray &path, int errorNumber)
{
    return QStringLiteral("%1 %2: %3").arg(QLatin1String(what), displayPath(path), errorText(errorNumber));
}

void setError(QString *error, const char *what, const QByteArray &path, int errorNumber)
{
    if (error)
        *error = describe(what, path, errorNumber);
}

EntryKind kindOfMode(mode_t mode)
{
    if (S_ISREG(mode))
        return EntryKind::file;
    if (S_ISDIR(mode))
        return EntryKind::directory;
    if (S_ISLNK(mode))
        return EntryKind::symlink;
    return EntryKind::other;
}

/// Closes a descriptor when leaving scope.
struct Descriptor
{
    int fd = -1;
    explicit Descriptor(int value) : fd(value) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
};

// An open descriptor that is not a regular file (a device, a pipe) is
// refused: reading it could block or never end.
bool isRegularFile(int fd, struct stat &status, const QByteArray &path, QString *error)
{
    if (::fstat(fd, &status) != 0) {
        setError(error, "Could not read", path, errno);
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        setError(error, "Not a regular file:", path, EINVAL);
        return false;
    }
    return true;
}

bool writeAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies the rest of `in` to `out`; the kernel does it where it can.
bool copyContents(int in, int out)
{
#ifdef __linux__
    for (;;) {
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, size_t(1) << 30, 0);
        if (copied == 0)
            return true;
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
                break; // fall back to reading and writing
            return false;
        }
    }
#endif
    static thread_local char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got == 0)
            return true;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (!writeAll(out, buffer, static_cast<size_t>(got)))
            return false;
    }
}

bool copyFile(const QByteArray &source, const QByteArray &destination, QString *error)
{
    Descriptor in(::open(source.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (in.fd < 0) {
        setError(error, "Could not read", source, errno);
        return false;
    }
    struct stat status {};
    if (!isRegularFile(in.fd, status, source, error))
        return false;
    const mode_t mode = status.st_mode & 07777;
    Descriptor out(::open(destination.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode | S_IWUSR));
    if (out.fd < 0) {
        setError(error, "Could not create", destination, errno);
        return false;
    }
    if (!copyContents(in.fd, out.fd) || ::fchmod(out.fd, mode) != 0) {
        const int failure = errno;
        ::unlink(destination.constData());
        setError(error, "Could not copy to", destination, failure);
        return false;
    }
    return true;
}

bool copyLink(const QByteArray &source, const QByteArray &destination, QString *error)
{
    QByteArray target(4096, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlink(source.constData(), target.data(), static_cast<size_t>(target.size()));
        if (length < 0) {
            setError(error, "Could not read the link", source, errno);
            return false;
        }
        if (length < target.size()) {
            target.truncate(length);
            break;
        }
        target.resize(target.size() * 2);
    }
    if (::symlink(target.constData(), destination.constData()) != 0) {
        setError(error, "Could not create", destination, errno);
        return false;
    }
    return true;
}

bool copyDirectory(const QByteArray &source, const QByteArray &destination, QString *error)
{
    struct stat status {};
    if (::lstat(source.constData(), &status) != 0) {
        setError(error, "Could not read", source, errno);
        return false;
    }
    std::vector<DirectoryEntry> entries;
    if (!listDirectory(source, entries, error))
        return false;
    // Owner access while filling it; the source's own bits at the end.
    if (::mkdir(destination.constData(), (status.st_mode & 07777) | S_IRWXU) != 0) {
        setError(error, "Could not create", destination, errno);
        return false;
    }
    bool complete = true;
    for (const DirectoryEntry &entry : entries) {
        QString childError;
        if (!copyItem(source + '/' + entry.name, destination + '/' + entry.name, &childError)) {
            if (complete && error)
                *error = childError;
            complete = false;
        }
    }
    if (::chmod(destination.constData(), status.st_mode & 07777) != 0 && complete) {
        setError(error, "Could not set the permissions of", destination, errno);
        complete = false;
    }
    return complete;
}

} // namespace

QString errorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

EntryKind entryKind(const QByteArray &path, QString *error)
{
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0) {
        setError(error, "Could not examine", path, errno);
        return EntryKind::unknown;
    }
    return kindOfMode(status.st_mode);
}

bool listDirectory(const QByteArray &path, std::vector<DirectoryEntry> &entries, QString *error)
{
    entries.clear();
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *directory = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!directory) {
        const int failure = errno;
        if (fd >= 0)
            ::close(fd);
        setError(error, "Could not list", path, failure);
        return false;
    }
    errno = 0;
    while (const dirent *item = ::readdir(directory)) {
        const char *name = item->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        DirectoryEntry entry;
        entry.name = QByteArray(name);
        switch (item->d_type) {
        case DT_REG: entry.kind = EntryKind::file; break;
        case DT_DIR: entry.kind = EntryKind::directory; break;
        case DT_LNK: entry.kind = EntryKind::symlink; break;
        case DT_UNKNOWN: {
            struct stat status {};
            entry.kind = ::fstatat(fd, name, &status, AT_SYMLINK_NOFOLLOW) == 0 ? kindOfMode(status.st_mode)
                                                                              : EntryKind::unknown;
            break;
        }
        default: entry.kind = EntryKind::other; break;
        }
        entries.push_back(std::move(entry));
        errno = 0;
    }
    const int failure = errno;
    ::closedir(directory);
    if (failure != 0) {
        setError(error, "Could not list", path, failure);
        return false;
    }
    std::sort(entries.begin(), entries.end(),
              [](const DirectoryEntry &a, const DirectoryEntry &b) { return a.name < b.name; });
    return true;
}

bool readRegularFile(const QByteArray &path, QByteArray &content, QString *error)
{
    Descriptor in(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (in.fd < 0) {
        setError(error, "Could not read", path, errno);
        return false;
    }
    struct stat status {};
    if (!isRegularFile(in.fd, status, path, error))
        return false;
    content.resize(static_cast<qsizetype>(status.st_size) + 1); // one more to notice growth
    qsizetype filled = 0;
    for (;;) {
        if (filled == content.size())
            content.resize(content.size() * 2);
        const ssize_t got = ::read(in.fd, content.data() + filled, static_cast<size_t>(content.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            setError(error, "Could not read", path, errno);
            return false;
        }
        if (got == 0)
            break;
        filled += got;
    }
    content.truncate(filled);
    return true;
}

bool findInFile(const QByteArray &path, const std::vector<QByteArray> &needles, QByteArray &buffer, bool &found,
                bool &complete, QString *error)
{
    // Files up to this size are read in one go and kept; larger ones are
    // searched in slices that overlap by the longest needle.
    constexpr qsizetype wholeFileLimit = qsizetype(16) << 20;
    found = false;
    complete = false;
    Descriptor in(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (in.fd < 0) {
        setError(error, "Could not read", path, errno);
        return false;
    }
    struct stat status {};
    if (!isRegularFile(in.fd, status, path, error))
        return false;
    qsizetype overlap = 0;
    for (const QByteArray &needle : needles)
        overlap = std::max(overlap, needle.size() - 1);
    const qsizetype size = static_cast<qsizetype>(status.st_size);
    const qsizetype capacity = size < wholeFileLimit ? size + 1 : wholeFileLimit;
    if (buffer.size() < capacity)
        buffer.resize(capacity);

    qsizetype filled = 0;
    bool sawEnd = false;
    bool firstSlice = true;
    while (!sawEnd) {
        const ssize_t got = ::read(in.fd, buffer.data() + filled, static_cast<size_t>(capacity - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            setError(error, "Could not read", path, errno);
            return false;
        }
        sawEnd = got == 0;
        filled += got;
        if (!sawEnd && filled < capacity)
            continue;
        for (const QByteArray &needle : needles) {
            if (!needle.isEmpty() && ::memmem(buffer.constData(), static_cast<size_t>(filled), needle.constData(),
                                              static_cast<size_t>(needle.size()))) {
                found = true;
                break;
            }
        }
        if (sawEnd && firstSlice) {
            buffer.truncate(filled);
            complete = true;
        }
        if (found)
            return true;
        firstSlice = false;
        // Keep the tail that a needle could straddle, then read on.
        const qsizetype keep = std::min(overlap, filled);
        std::memmove(buffer.data(), buffer.constData() + filled - keep, static_cast<size_t>(keep));
        filled = keep;
    }
    return true;
}

bool makePath(const QByteArray &path, QString *error)
{
    if (path.isEmpty()) {
        setError(error, "Could not create", path, ENOENT);
        return false;
    }
    qsizetype position = path.startsWith('/') ? 1 : 0;
    for (;;) {
        const qsizetype slash = path.indexOf('/', position);
        const QByteArray prefix = slash < 0 ? path : path.left(slash);
        if (!prefix.isEmpty() && ::mkdir(prefix.constData(), 0777) != 0 && errno != EEXIST) {
            setError(error, "Could not create", prefix, errno);
            return false;
        }
        if (slash < 0)
            break;
        position = slash + 1;
    }
    struct stat status {};
    if (::stat(path.constData(), &status) != 0) {
        setError(error, "Could not create", path, errno);
        return false;
    }
    if (!S_ISDIR(status.st_mode)) {
        setError(error, "Could not create", path, EEXIST);
        return false;
    }
    return true;
}

bool copyItem(const QByteArray &source, const QByteArray &destination, QString *error)
{
    struct stat existing {};
    if (::lstat(destination.constData(), &existing) == 0) {
        setError(error, "Could not copy to", destination, EEXIST);
        return false;
    }
    struct stat status {};
    if (::lstat(source.constData(), &status) != 0) {
        setError(error, "Could not read", source, errno);
        return false;
    }
    switch (kindOfMode(status.st_mode)) {
    case EntryKind::file: return copyFile(source, destination, error);
    case EntryKind::directory: return copyDirectory(source, destination, error);
    case EntryKind::symlink: return copyLink(source, destination, error);
    default:
        setError(error, "Not copied (neither file, folder nor link):", source, EINVAL);
        return false;
    }
}

bool removeItem(const QByteArray &path, QString *error)
{
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0) {
        if (errno == ENOENT)
            return true;
        setError(error, "Could not remove", path, errno);
        return false;
    }
    if (S_ISDIR(status.st_mode)) {
        std::vector<DirectoryEntry> entries;
        if (!listDirectory(path, entries, error))
            return false;
        for (const DirectoryEntry &entry : entries) {
            if (!removeItem(path + '/' + entry.name, error))
                return false;
        }
        if (::rmdir(path.constData()) != 0) {
            setError(error, "Could not remove", path, errno);
            return false;
        }
        return true;
    }
    if (::unlink(path.constData()) != 0) {
        setError(error, "Could not remove", path, errno);
        return false;
    }
    return true;
}

bool renameWithoutReplacing(const QByteArray &from, const QByteArray &to, QString *error)
{
    const auto failed = [&](int errorNumber) {
        if (error)
            *error = QStringLiteral("Could not rename %1 to %2: %3")
                         .arg(displayPath(from), displayPath(to), errorText(errorNumber));
        return false;
    };
#if defined(__linux__)
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return failed(errno);
#elif defined(__APPLE__)
    if (::renamex_np(from.constData(), to.constData(), RENAME_EXCL) == 0)
        return true;
    if (errno != ENOTSUP)
        return failed(errno);
#endif
    // A file system without an exclusive rename: check, then rename.
    struct stat existing {};
    if (::lstat(to.constData(), &existing) == 0)
        return failed(EEXIST);
    if (::rename(from.constData(), to.constData()) != 0)
        return failed(errno);
    return true;
}

} // namespace plinth::fileops
