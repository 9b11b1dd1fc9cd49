// The project-file reader on any text: it ends (deep nesting included),
// and a target's configuration names are names of the file's objects.

#include "FuzzCheck.h"

#include "project/XcodeProjectFile.h"

using namespace plinth;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::text(data, size);
    const std::optional<QVariant> parsed = parseXcodeProjectFile(text);
    const QStringList names = targetBuildConfigurationNames(text, QStringLiteral("Orbit"));
    if (!parsed)
        FUZZ_CHECK(names.isEmpty());
    for (const QString &name : names)
        FUZZ_CHECK(!name.isEmpty());
    return 0;
}
