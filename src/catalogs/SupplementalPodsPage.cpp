#include "catalogs/SupplementalPodsPage.h"

#include "app/base/DebugConsole.h"
#include "generation/PodInstallation.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringView>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace plinth {

namespace {

// The scanner below takes each pattern apart. Where a pattern has a choice
// (a lazy `.*?`, a greedy class before a literal), every choice but the first
// fails whenever the first fails, so a match is found by a fixed series of
// "first occurrence of X at or after p" searches; the only backtracking that
// can succeed is the entry's `\s*([^<]+)` giving its last white space
// character to group 3 when the description is nothing but white space.
// Searches go through caches that answer a later question from an earlier
// scan, so attempts that start inside one another (an `<li>` within a link)
// do not scan the same text again.

/// `\s`: Unicode white space (the White_Space property), as ICU has it.
bool isSpace(QChar c)
{
    return c.isSpace();
}

/// The first position at or after a given one where a character occurs,
/// remembered for the next question that lies in the same stretch.
class NextCharacter
{
public:
    NextCharacter(QStringView text, QChar character)
        : m_text(text)
        , m_character(character)
    {
    }

    qsizetype at(qsizetype from)
    {
        if (m_from >= 0 && from >= m_from && (m_found < 0 || from <= m_found))
            return m_found;
        m_from = from;
        m_found = from < m_text.size() ? m_text.indexOf(m_character, from) : -1;
        return m_found;
    }

private:
    QStringView m_text;
    QChar m_character;
    qsizetype m_from = -1;
    qsizetype m_found = -1;
};

/// The end of the run of white space that starts at a position.
class SpaceRun
{
public:
    explicit SpaceRun(QStringView text)
        : m_text(text)
    {
    }

    qsizetype endFrom(qsizetype from)
    {
        if (m_from >= 0 && from >= m_from && from <= m_end)
            return m_end;
        m_from = from;
        m_end = from;
        while (m_end < m_text.size() && isSpace(m_text[m_end]))
            ++m_end;
        return m_end;
    }

private:
    QStringView m_text;
    qsizetype m_from = -1;
    qsizetype m_end = -1;
};

bool textAt(QStringView text, qsizetype position, QStringView literal)
{
    return position >= 0 && position <= text.size() - literal.size()
           && text.mid(position, literal.size()) == literal;
}

struct Heading
{
    qsizetype start = 0;
    qsizetype end = 0;
    QStringView title; ///< group 1
};

// <div class="markdown-heading"[^>]*>.*?<h3[^>]*>(.*?)</h3>.*?</div>
// Each step is the first occurrence after the previous one. When a step
// finds nothing, no later heading start can match either (each of its steps
// would search from a position at least as far on), so the scan ends.
QList<Heading> findHeadings(QStringView page)
{
    static constexpr QStringView open = u"<div class=\"markdown-heading\"";
    QList<Heading> headings;
    qsizetype position = 0;
    while (true) {
        const qsizetype start = page.indexOf(open, position);
        if (start < 0)
            break;
        const qsizetype divEnd = page.indexOf(u'>', start + open.size());
        if (divEnd < 0)
            break;
        const qsizetype h3 = page.indexOf(u"<h3", divEnd + 1);
        if (h3 < 0)
            break;
        const qsizetype h3End = page.indexOf(u'>', h3 + 3);
        if (h3End < 0)
            break;
        const qsizetype titleEnd = page.indexOf(u"</h3>", h3End + 1);
        if (titleEnd < 0)
            break;
        const qsizetype close = page.indexOf(u"</div>", titleEnd + 5);
        if (close < 0)
            break;
        headings.append({start, close + 6, page.mid(h3End + 1, titleEnd - h3End - 1)});
        position = close + 6;
    }
    return headings;
}

struct Entry
{
    qsizetype end = 0;
    QStringView name;        ///< group 2
    QStringView description; ///< group 3
};

// <li>\s*<a href="([^"]+)">([^<]+)</a>\s*-\s*([^<]+)\s*</li>
class EntryScanner
{
public:
    explicit EntryScanner(QStringView text)
        : m_text(text)
        , m_quote(text, u'"')
        , m_nameEnd(text, u'<')
        , m_descriptionEnd(text, u'<')
        , m_spaceAfterItem(text)
        , m_spaceBeforeDash(text)
        , m_spaceAfterDash(text)
    {
    }

    /// The next entry from the current position on, or nothing.
    std::optional<Entry> next()
    {
        while (true) {
            const qsizetype start = m_text.indexOf(u"<li>", m_position);
            if (start < 0)
                return std::nullopt;
            if (const std::optional<Entry> entry = matchAt(start)) {
                m_position = entry->end;
                return entry;
            }
            m_position = start + 1;
        }
    }

private:
    std::optional<Entry> matchAt(qsizetype start)
    {
        const qsizetype anchor = m_spaceAfterItem.endFrom(start + 4);
        if (!textAt(m_text, anchor, u"<a href=\""))
            return std::nullopt;
        const qsizetype link = anchor + 9;
        const qsizetype quote = m_quote.at(link);
        if (quote <= link || !textAt(m_text, quote, u"\">"))
            return std::nullopt;
        const qsizetype name = quote + 2;
        const qsizetype nameEnd = m_nameEnd.at(name);
        if (nameEnd <= name || !textAt(m_text, nameEnd, u"</a>"))
            return std::nullopt;
        const qsizetype dash = m_spaceBeforeDash.endFrom(nameEnd + 4);
        if (dash >= m_text.size() || m_text[dash] != u'-')
            return std::nullopt;
        const qsizetype spaceEnd = m_spaceAfterDash.endFrom(dash + 1);
        const qsizetype descriptionEnd = m_descriptionEnd.at(spaceEnd);
        if (descriptionEnd < 0 || !textAt(m_text, descriptionEnd, u"</li>"))
            return std::nullopt;
        qsizetype description = spaceEnd;
        if (descriptionEnd == spaceEnd) {
            // Only white space before "</li>": its last character is group 3.
            if (spaceEnd == dash + 1)
                return std::nullopt;
            description = spaceEnd - 1;
        }
        return Entry{descriptionEnd + 5, m_text.mid(name, nameEnd - name),
                     m_text.mid(description, descriptionEnd - description)};
    }

    QStringView m_text;
    qsizetype m_position = 0;
    NextCharacter m_quote;
    NextCharacter m_nameEnd;
    NextCharacter m_descriptionEnd;
    SpaceRun m_spaceAfterItem;
    SpaceRun m_spaceBeforeDash;
    SpaceRun m_spaceAfterDash;
};

QList<ListItem> podsOfSection(QStringView section, UIInterface interface)
{
    QList<ListItem> pods;
    EntryScanner scanner(section);
    while (const std::optional<Entry> entry = scanner.next()) {
        if (!entry->name.startsWith(u"KW"))
            continue;
        const QString name = entry->name.toString();
        if (!isValidPodName(name)) {
            debugConsole(QStringLiteral("Not a valid pod name, left out: ") + name);
            continue;
        }
        ListItem pod;
        pod.title = name;
        pod.description = entry->description.toString();
        pod.podType = PodType::supplemental;
        pod.interface = interface;
        pods.append(pod);
    }
    return pods;
}

std::optional<UIInterface> sectionInterface(QStringView title)
{
    if (title == u"SwiftUI")
        return UIInterface::swiftUi;
    if (title == u"Swift")
        return UIInterface::UIKit;
    return std::nullopt;
}

} // namespace

QList<ListItem> parseSupplementalPods(const QString &page)
{
    const QStringView text(page);
    const QList<Heading> headings = findHeadings(text);
    QList<ListItem> pods;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const std::optional<UIInterface> interface = sectionInterface(headings.at(i).title);
        if (!interface)
            continue;
        const qsizetype start = headings.at(i).end;
        const qsizetype end = i + 1 < headings.size() ? headings.at(i + 1).start : text.size();
        pods += podsOfSection(text.mid(start, end - start), *interface);
    }
    return pods;
}

QList<ListItem> extractPods(const QString &section, UIInterface interface)
{
    return podsOfSection(section, interface);
}

bool isExcludedSupplementalPod(const QString &name)
{
    return std::any_of(excludedSupplementalPods.begin(), excludedSupplementalPods.end(),
                       [&name](QLatin1String excluded) { return name == excluded; });
}

QList<ListItem> offeredSupplementalPods(const QList<ListItem> &parsedPods, const QList<ListItem> &chosenPods,
                                        bool isUIKitProject)
{
    const UIInterface kind = isUIKitProject ? UIInterface::UIKit : UIInterface::swiftUi;
    QList<ListItem> offered;
    for (const ListItem &pod : parsedPods) {
        const bool chosen = std::any_of(chosenPods.begin(), chosenPods.end(),
                                        [&pod](const ListItem &item) { return item.title == pod.title; });
        if (!chosen && !isExcludedSupplementalPod(pod.title) && pod.interface == kind)
            offered.append(pod);
    }
    return offered;
}

void fetchHTMLContent(QNetworkAccessManager &network, const QUrl &url, QObject *context,
                      std::function<void(const FetchedPage &)> completion)
{
    if (url.isEmpty() || !url.isValid()) {
        QTimer::singleShot(0, context, [completion] { completion({}); });
        return;
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(pageTransferTimeoutMilliseconds);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    const auto tooLarge = std::make_shared<bool>(false);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply, tooLarge](qint64 received, qint64 total) {
        if (!*tooLarge && (received > maximumPageBytes || total > maximumPageBytes)) {
            *tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, context, [reply, tooLarge, completion] {
        FetchedPage result;
        if (*tooLarge)
            result.error = QStringLiteral("The page is larger than %1 MB.").arg(maximumPageBytes / (1024 * 1024));
        else if (reply->error() != QNetworkReply::NoError)
            result.error = reply->errorString();
        else
            result.page = QString::fromUtf8(reply->readAll());
        completion(result);
    });
}

} // namespace plinth
