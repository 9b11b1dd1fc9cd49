// parseSupplementalPods and extractPods over any page: every entry they
// return is a valid "KW" pod name with a description, and on pages small
// enough for it the result equals what the documented regular expressions
// find (the scanner promises exactly their matches).

#include "FuzzCheck.h"

#include "catalogs/SupplementalPodsPage.h"
#include "generation/PodInstallation.h"

#include <QRegularExpression>

using namespace plinth;

namespace {

/// The regular expressions' backtracking grows with the square of some
/// inputs; above this many characters only the scanner runs.
constexpr qsizetype referenceLimit = 4096;

struct Pod
{
    QString name;
    QString description;
    UIInterface interface;
    bool operator==(const Pod &) const = default;
};

QList<Pod> referenceEntries(const QString &section, UIInterface interface)
{
    static const QRegularExpression entry(QString(supplementalPodsEntryPattern), supplementalPodsPatternOptions);
    QList<Pod> pods;
    for (auto it = entry.globalMatch(section); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(2);
        if (name.startsWith(QLatin1String("KW")) && isValidPodName(name))
            pods.append({name, match.captured(3), interface});
    }
    return pods;
}

QList<Pod> referencePage(const QString &page)
{
    static const QRegularExpression heading(QString(supplementalPodsHeadingPattern), supplementalPodsPatternOptions);
    QList<QRegularExpressionMatch> headings;
    for (auto it = heading.globalMatch(page); it.hasNext();)
        headings.append(it.next());
    QList<Pod> pods;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const QString title = headings.at(i).captured(1);
        if (title != QLatin1String("SwiftUI") && title != QLatin1String("Swift"))
            continue;
        const qsizetype start = headings.at(i).capturedEnd(0);
        const qsizetype end = i + 1 < headings.size() ? headings.at(i + 1).capturedStart(0) : page.size();
        pods += referenceEntries(page.mid(start, end - start),
                                 title == QLatin1String("SwiftUI") ? UIInterface::swiftUi : UIInterface::UIKit);
    }
    return pods;
}

QList<Pod> checked(const QList<ListItem> &items)
{
    QList<Pod> pods;
    for (const ListItem &item : items) {
        FUZZ_CHECK(item.title.startsWith(QLatin1String("KW")));
        FUZZ_CHECK(isValidPodName(item.title));
        FUZZ_CHECK(!item.description.isEmpty() && !item.description.contains(QLatin1Char('<')));
        FUZZ_CHECK(item.podType == PodType::supplemental);
        FUZZ_CHECK(item.interface == UIInterface::swiftUi || item.interface == UIInterface::UIKit);
        pods.append({item.title, item.description, item.interface});
    }
    return pods;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString page = fuzz::text(data, size);
    const QList<Pod> pods = checked(parseSupplementalPods(page));
    const QList<Pod> entries = checked(extractPods(page, UIInterface::UIKit));
    for (const Pod &pod : entries)
        FUZZ_CHECK(pod.interface == UIInterface::UIKit);

    // PCRE2 alone counts U+180E as white space; the scanner does not.
    if (page.size() <= referenceLimit && !page.contains(QChar(0x180E))) {
        FUZZ_CHECK(pods == referencePage(page));
        FUZZ_CHECK(entries == referenceEntries(page, UIInterface::UIKit));
    }
    return 0;
}
