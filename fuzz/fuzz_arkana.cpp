// The .arkana.yml rewrite and the .env made from it, on a temporary file
// whose content and variant labels come from the input: a file that is not
// UTF-8 is refused and left alone, a rewrite run twice with the same
// variants changes nothing the second time, and .env holds exactly makeEnvFileContent of the new text,
// one block per label.

#include "FuzzCheck.h"

#include "generation/SecretsIntegration.h"
#include "generation/Utf8TextFile.h"
#include "project/BuildSettingsRules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTemporaryDir>

using namespace plinth;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

/// Up to four labels the build settings screen would accept.
QStringList labels(FuzzedDataProvider &input)
{
    QStringList accepted;
    const int count = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count; ++i) {
        const QString label = fuzz::text(input.ConsumeRandomLengthString(16));
        if (variantLabelProblem(label, accepted) == VariantLabelProblem::none)
            accepted << label;
    }
    return accepted;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    FUZZ_CHECK(folder.isValid());
    const QString arkana = folder.filePath(QStringLiteral(".arkana.yml"));
    const QString env = folder.filePath(QStringLiteral(".env"));

    FuzzedDataProvider input(data, size);
    const QStringList variants = labels(input);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray original(rest.data(), static_cast<qsizetype>(rest.size()));
    writeAll(arkana, original);
    QFile::remove(env);

    const bool isText = decodeUtf8Exactly(original).has_value();
    const bool updated = updateArkanaEnvironments(environmentsList(variants), arkana);
    FUZZ_CHECK(updated == isText);
    if (!isText) {
        FUZZ_CHECK(readAll(arkana) == original);
        FUZZ_CHECK(!writeEnvFile(arkana, variants));
        FUZZ_CHECK(!QFile::exists(env));
        return 0;
    }
    const QByteArray once = readAll(arkana);
    FUZZ_CHECK(decodeUtf8Exactly(once).has_value());
    // Callers always have a variant here; an empty list leaves "environments:"
    // without entries, and a later list in the file matches on the next run.
    if (!variants.isEmpty()) {
        FUZZ_CHECK(updateArkanaEnvironments(environmentsList(variants), arkana));
        FUZZ_CHECK(readAll(arkana) == once);
    }

    FUZZ_CHECK(writeEnvFile(arkana, variants));
    const QString content = makeEnvFileContent(QString::fromUtf8(once), variants);
    FUZZ_CHECK(readAll(env) == content.toUtf8());
    if (!content.isEmpty()) {
        qsizetype blocks = 0;
        for (const QString &line : content.split(QLatin1Char('\n'))) {
            const bool heading = line.startsWith(QLatin1String("# ")) && line.endsWith(QLatin1String(" Keys"));
            blocks += heading ? 1 : 0;
            FUZZ_CHECK(line.isEmpty() || heading || line.startsWith(QLatin1String("export ")));
        }
        FUZZ_CHECK(blocks == variants.size());
    }
    return 0;
}
