// replaceSection with the markers of the three Swift files the secrets
// update rewrites (AppSecrets.swift, Constants.swift, SceneDelegate.swift),
// on fuzzed file content: a file without the markers, or not UTF-8, is left
// byte-identical; otherwise the text before the section and after the one
// character that follows the end marker is kept as it was, and the file is
// still UTF-8.

#include "FuzzCheck.h"

#include "generation/SecretsIntegration.h"
#include "generation/Utf8TextFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTemporaryDir>

using namespace plinth;

namespace {

struct Section
{
    const char *file;
    const char *start;
    const char *end;
};

constexpr Section sections[] = {
    {"AppSecrets.swift", "private static var environment:", "}"},
    {"Constants.swift", "struct URL {", "}"},
    {"SceneDelegate.swift", "#if", "Development"},
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());

    FuzzedDataProvider input(data, size);
    const Section &section = input.PickValueInArray(sections);
    const QString start = QString::fromLatin1(section.start);
    const QString end = QString::fromLatin1(section.end);
    const QString replacement = fuzz::text(input.ConsumeRandomLengthString(64));
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray original(rest.data(), static_cast<qsizetype>(rest.size()));

    const QString path = folder.filePath(QString::fromLatin1(section.file));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(original) == original.size());
    }

    const bool replaced = replaceSection(start, end, replacement, path);
    const QByteArray after = readAll(path);
    const std::optional<QString> text = decodeUtf8Exactly(original);
    const qsizetype sectionStart = text ? text->indexOf(start) : -1;
    const qsizetype endMarker = sectionStart < 0 ? -1 : text->indexOf(end, sectionStart);
    if (endMarker < 0) {
        FUZZ_CHECK(!replaced);
        FUZZ_CHECK(after == original);
        return 0;
    }
    FUZZ_CHECK(replaced);
    const std::optional<QString> updated = decodeUtf8Exactly(after);
    FUZZ_CHECK(updated.has_value());

    // The one character after the end marker goes with the section; a
    // "\r\n" counts as one, and makes the section's line breaks "\r\n".
    const qsizetype sectionEnd = endMarker + end.size();
    const QString rest16 = text->mid(sectionEnd);
    const bool crlf = rest16.startsWith(QLatin1String("\r\n"));
    const bool pair = rest16.size() >= 2 && rest16.at(0).isHighSurrogate() && rest16.at(1).isLowSurrogate();
    const qsizetype taken = rest16.isEmpty() ? 0 : (crlf || pair) ? 2 : 1;
    QString body = replacement;
    if (crlf)
        body.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QString expected = text->left(sectionStart) + body + (crlf ? QLatin1String("\r\n") : QLatin1String("\n"))
                             + rest16.mid(taken);
    FUZZ_CHECK(*updated == expected);
    return 0;
}
