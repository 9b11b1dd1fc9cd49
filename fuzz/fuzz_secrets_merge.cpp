// The additions to an existing project's Arkana files, on any text: every
// line of the input is still there, in order and unchanged, the additions
// come after them or between them as whole lines, and a second merge with
// the same entries changes nothing.

#include "FuzzCheck.h"

#include "generation/SecretsMerge.h"
#include "project/BuildSettingsRules.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace plinth;

namespace {

/// Whether every line of `original` appears in `merged`, in order. The last
/// line may have gained the line break it lacked ("\r\n" in a CRLF text).
bool keepsEveryLine(const QString &original, const QString &merged)
{
    QStringList before = original.split(QLatin1Char('\n'));
    const QString last = before.takeLast();
    const QStringList after = merged.split(QLatin1Char('\n'));
    qsizetype position = 0;
    for (const QString &line : before) {
        while (position < after.size() && after.at(position) != line)
            ++position;
        if (position == after.size())
            return false;
        ++position;
    }
    if (last.isEmpty())
        return true;
    for (; position < after.size(); ++position) {
        if (after.at(position) == last || after.at(position) == last + QLatin1Char('\r'))
            return true;
    }
    return false;
}

QStringList names(FuzzedDataProvider &input)
{
    QStringList result;
    const int count = input.ConsumeIntegralInRange(0, 3);
    for (int i = 0; i < count; ++i) {
        // What is added is a variant label or a key name of the template.
        const QString name = fuzz::text(input.ConsumeRandomLengthString(12));
        if (variantLabelProblem(name, result) == VariantLabelProblem::none)
            result << name;
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QStringList entries = names(input);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QString text = fuzz::text(rest);

    for (const char *key : {"environments", "global_secrets", "environment_secrets"}) {
        const std::optional<QString> merged = withArkanaListEntries(text, QString::fromLatin1(key), entries);
        if (!merged)
            continue;
        FUZZ_CHECK(keepsEveryLine(text, *merged));
        FUZZ_CHECK(withArkanaListEntries(*merged, QString::fromLatin1(key), entries) == merged);
    }
    const QString env = envFileWithVariables(text, entries);
    FUZZ_CHECK(keepsEveryLine(text, env));
    FUZZ_CHECK(envFileWithVariables(env, entries) == env);
    const QString gemfile = gemfileWithArkana(text);
    FUZZ_CHECK(keepsEveryLine(text, gemfile));
    FUZZ_CHECK(gemfileWithArkana(gemfile) == gemfile);
    return 0;
}
