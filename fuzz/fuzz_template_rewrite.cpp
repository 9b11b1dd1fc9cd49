// The content rules of template instantiation with fuzzed text and names:
// rewriteContent equals its definition (every line of a test file through
// rewriteLine; in any other file the template name replaced, then every line
// through rewriteLine) whether or not it takes its shortcut, keeps
// the line structure and "\r\n" endings when the names hold no line break,
// and leaves a text mentioning neither name as it was; renamedItemName only
// touches names holding the template name.

#include "FuzzCheck.h"

#include "generation/TemplateInstantiation.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace plinth;

namespace {

QString definition(const QString &text, const QString &fileName, const InstantiationNames &names, bool testsRule)
{
    if (names.templateName.isEmpty() || names.productName.isEmpty())
        return text;
    const bool testsFile = fileName.contains(QLatin1String("Tests"));
    const bool underscoredHere = testsFile || fileName.contains(QLatin1String(".pbxproj"));
    QString replaced = text;
    if (!(testsRule && testsFile))
        replaced.replace(names.templateName, underscoredHere ? names.underscoredName : names.productName);
    QStringList lines = replaced.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = rewriteLine(line, fileName, names, testsRule);
    return lines.join(QLatin1Char('\n'));
}

bool hasLineBreak(const QString &text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString templateName = fuzz::text(input.ConsumeRandomLengthString(24));
    const QString productName = fuzz::text(input.ConsumeRandomLengthString(24));
    const QString fileName = fuzz::text(input.ConsumeRandomLengthString(32));
    const bool testsRule = input.ConsumeBool();
    const QString text = fuzz::text(input.ConsumeRemainingBytesAsString());
    const InstantiationNames names = InstantiationNames::of(templateName, productName);

    const QString result = rewriteContent(text, fileName, names, testsRule);
    FUZZ_CHECK(result == definition(text, fileName, names, testsRule));
    if (templateName.isEmpty() || productName.isEmpty()
        || (!text.contains(templateName) && !text.contains(productName)))
        FUZZ_CHECK(result == text);
    if (!hasLineBreak(templateName) && !hasLineBreak(productName)) {
        const QStringList before = text.split(QLatin1Char('\n'));
        const QStringList after = result.split(QLatin1Char('\n'));
        FUZZ_CHECK(before.size() == after.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            FUZZ_CHECK(before.at(i).endsWith(QLatin1Char('\r')) == after.at(i).endsWith(QLatin1Char('\r')));
    }

    const QString renamed = renamedItemName(fileName, names);
    if (templateName.isEmpty() || !fileName.contains(templateName))
        FUZZ_CHECK(renamed == fileName);
    if (!productName.contains(QLatin1Char('/')) && !templateName.contains(QLatin1Char('/')))
        FUZZ_CHECK(renamed.contains(QLatin1Char('/')) == fileName.contains(QLatin1Char('/')));
    return 0;
}
