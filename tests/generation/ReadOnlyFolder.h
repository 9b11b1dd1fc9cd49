#pragma once

#include <QFile>
#include <QProcess>
#include <QString>

#include <sys/stat.h>
#include <unistd.h>

/// Makes a folder refuse new entries while alive, so that an atomic write
/// into it fails. Permission bits do not stop root; for root the folder is
/// made immutable instead (chattr), where the file system allows it.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path) : m_path(path)
    {
        if (::geteuid() != 0)
            m_locked = ::chmod(QFile::encodeName(path).constData(), 0555) == 0;
        else
            m_locked = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
    }
    ~ReadOnlyFolder()
    {
        if (!m_locked)
            return;
        if (::geteuid() != 0)
            ::chmod(QFile::encodeName(m_path).constData(), 0755);
        else
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
    }
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool isLocked() const { return m_locked; }

private:
    QString m_path;
    bool m_locked = false;
};
