#pragma once

#include "project/ListItem.h"

#include <QLatin1String>
#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QUrl>

#include <array>
#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace plinth {

/// The maker's published list of mobile libraries, whose level-3 sections
/// "Swift" (UIKit) and "SwiftUI" list the supplemental pods.
inline constexpr QLatin1String supplementalPodsListURL{"https://github.com/tarnwick/mobile-libraries"};

/// Names the page lists that are never offered.
inline constexpr std::array<QLatin1String, 2> excludedSupplementalPods{
    QLatin1String("VAVodevEvavoZodadu"),
    QLatin1String("ZODadadORIdivaDuzuzeDirod"),
};

/// What the page's markup means, as regular expressions matched over the
/// whole text, one match after another: a section heading (group 1 is its
/// text, compared exactly) and a library entry (group 2 the pod name, group 3
/// the description as captured, trailing white space included; group 1, the
/// link, is not used). parseSupplementalPods and extractPods find exactly the
/// matches these would find, with a scanner that stays linear in the page's
/// length, where the entry expression's own backtracking grows with the
/// square of a description of white space (20 KB of spaces take it seconds).
/// `\s` is Unicode white space, as in ICU's dialect; see
/// supplementalPodsPatternOptions.
inline constexpr QLatin1String supplementalPodsHeadingPattern{
    "<div class=\"markdown-heading\"[^>]*>.*?<h3[^>]*>(.*?)</h3>.*?</div>"};
inline constexpr QLatin1String supplementalPodsEntryPattern{
    "<li>\\s*<a href=\"([^\"]+)\">([^<]+)</a>\\s*-\\s*([^<]+)\\s*</li>"};

/// The dot matches line breaks; `\s` is Unicode white space (ICU's `\s`, where
/// PCRE2 alone knows only ASCII white space). One difference stays: PCRE2
/// still counts U+180E as white space; ICU, current Unicode and the scanner
/// do not.
inline constexpr QRegularExpression::PatternOptions supplementalPodsPatternOptions =
    QRegularExpression::DotMatchesEverythingOption | QRegularExpression::UseUnicodePropertiesOption;

/// The supplemental pods of a library page: the entries of every section
/// headed exactly "SwiftUI" (interface swiftUi) or "Swift" (interface UIKit),
/// sections in page order, entries in section order, duplicates kept. Other
/// sections are skipped. A section runs from the end of its heading to the
/// start of the next heading, or to the end of the page.
QList<ListItem> parseSupplementalPods(const QString &page);

/// The entries of one section whose name begins with "KW" and is a valid pod
/// name (an entry named otherwise on the page could break the Podfile it is
/// written into; it is left out with a console line). Each is a fresh
/// supplemental entry with the section's interface.
QList<ListItem> extractPods(const QString &section, UIInterface interface);

/// Whether `name` is one of excludedSupplementalPods.
bool isExcludedSupplementalPod(const QString &name);

/// The parsed pods the pod screen offers, order kept: not already in
/// `chosenPods` (by title), not excluded, and of the project's UI kind
/// (interface UIKit for a UIKit project, swiftUi otherwise).
QList<ListItem> offeredSupplementalPods(const QList<ListItem> &parsedPods, const QList<ListItem> &chosenPods,
                                        bool isUIKitProject);

/// The largest page read; a longer response is cut off as a failure, so a
/// server that never stops sending cannot exhaust the memory.
inline constexpr qint64 maximumPageBytes = 16 * 1024 * 1024;
/// A transfer that receives nothing for this long fails.
inline constexpr int pageTransferTimeoutMilliseconds = 30000;

/// The outcome of one page request: the body decoded as UTF-8 (invalid
/// sequences replaced), or nothing and why.
struct FetchedPage
{
    std::optional<QString> page;
    QString error; ///< empty when the address is not a usable URL
};

/// One GET of `url` through `network`, without headers of its own, following
/// redirects that do not lower security. `completion` runs on `context`'s
/// thread once the response is complete or has failed (an error status of the
/// server counts as failure); never when `context` is gone first. An empty or
/// invalid `url` completes with nothing and no error, without a request.
void fetchHTMLContent(QNetworkAccessManager &network, const QUrl &url, QObject *context,
                      std::function<void(const FetchedPage &)> completion);

} // namespace plinth
