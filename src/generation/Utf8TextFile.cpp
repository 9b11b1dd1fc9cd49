#include "generation/Utf8TextFile.h"

#include "generation/AtomicFile.h"
#include "generation/SafeFileOperations.h"

#include <QStringDecoder>

namespace plinth {

std::optional<QString> decodeUtf8Exactly(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    // The decoder is strict about malformed sequences; comparing the round
    // trip also rules out anything it might accept but not reproduce.
    if (text.toUtf8() != bytes)
        return std::nullopt;
    return text;
}

std::optional<QString> readUtf8File(const QString &path)
{
    QByteArray bytes;
    if (path.isEmpty() || !fileops::readRegularFile(fileops::nativePath(path), bytes))
        return std::nullopt;
    return decodeUtf8Exactly(bytes);
}

bool writeTextFileIfChanged(const QString &path, const QString &text, QString *error, bool *written)
{
    if (written)
        *written = false;
    QByteArray current;
    if (fileops::readRegularFile(fileops::nativePath(path), current) && current == text.toUtf8())
        return true;
    if (!writeTextFileAtomically(path, text, error))
        return false;
    if (written)
        *written = true;
    return true;
}

} // namespace plinth
