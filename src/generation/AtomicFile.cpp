#include "generation/AtomicFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace plinth {

bool writeTextFileAtomically(const QString &path, const QString &text, QString *error)
{
    const QFileInfo existing(path);
    const bool keepPermissions = existing.exists() && !existing.isSymLink();
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
