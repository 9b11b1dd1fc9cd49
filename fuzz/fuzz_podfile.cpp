// podNames and podfilePods over any Podfile text: names come from the
// default block only, are non-empty and quote-free; the pod screen's list
// holds each of them once, never the project's own secrets pod.

#include "FuzzCheck.h"

#include "catalogs/PodfileReader.h"

#include <QCoreApplication>
#include <QSet>

using namespace plinth;

namespace {

QList<ListItem> catalog()
{
    QList<ListItem> entries;
    for (const char *name : {"Alamofire", "SwiftLint", "Kingfisher"}) {
        ListItem entry;
        entry.title = QString::fromLatin1(name);
        entry.description = QStringLiteral("from the catalog");
        entries.append(entry);
    }
    return entries;
}

} // namespace

// The "no description" text comes from the text catalog, which finds the
// resource bundle from the application's folder.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QList<ListItem> entries = catalog();
    const QString podfile = fuzz::text(data, size);
    const QStringList names = podNames(podfile);

    const qsizetype start = podfile.indexOf(QLatin1String("# Default pods"));
    const qsizetype end = podfile.indexOf(QLatin1String("post_install"));
    if (start < 0 || end < 0)
        FUZZ_CHECK(names.isEmpty());
    const QString block = start < 0 || end < 0 ? QString() : podfile.mid(start, end - start);
    for (const QString &name : names) {
        FUZZ_CHECK(!name.isEmpty() && !name.contains(QLatin1Char('\'')));
        FUZZ_CHECK(block.contains(QLatin1Char('\'') + name + QLatin1Char('\'')));
    }

    const bool uiKit = size % 2 == 0;
    const QList<ListItem> pods = podfilePods(podfile, entries, uiKit);
    QSet<QString> seen;
    QSet<QString> expected;
    for (const QString &name : names) {
        if (!name.contains(QLatin1String("Secrets")))
            expected.insert(name);
    }
    for (const ListItem &pod : pods) {
        FUZZ_CHECK(!seen.contains(pod.title));
        seen.insert(pod.title);
        FUZZ_CHECK(expected.contains(pod.title));
        if (!entries.contains(pod)) {
            FUZZ_CHECK(pod.podType == PodType::preset);
            FUZZ_CHECK(pod.interface == (uiKit ? UIInterface::UIKit : UIInterface::swiftUi));
        }
    }
    FUZZ_CHECK(seen == expected);
    return 0;
}
