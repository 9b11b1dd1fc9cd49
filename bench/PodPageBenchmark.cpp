// Times parseSupplementalPods on pages built in memory:
//
//   1. an ordinary library page of 5 MB (GitHub's markup: headings, lists of
//      entries, the page around them), which must parse in under 100 ms;
//   2. pages of 1 MB built to make the page's two expressions backtrack
//      (headings or entries that never close, a description of white space,
//      links within links), each of which must parse in under 1 s;
//   3. for comparison, the expressions themselves matched by
//      QRegularExpression (PCRE2 with its JIT) on the ordinary page and on a
//      small page of the white-space kind.
//
// Prints a table of medians of seven runs; exits with 1 when a limit is
// exceeded. Usage: plinth-pod-page-bench

#include "catalogs/SupplementalPodsPage.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace plinth;

namespace {

constexpr int runs = 7;

QString heading(const QString &title)
{
    return QStringLiteral("<div class=\"markdown-heading\" dir=\"auto\"><h3 tabindex=\"-1\" class=\"heading-element\">")
           + title + QStringLiteral("</h3><a id=\"user-content-") + title.toLower()
           + QStringLiteral("\" class=\"anchor\" aria-label=\"Permalink: ") + title + QStringLiteral("\" href=\"#")
           + title.toLower()
           + QStringLiteral("\"><svg class=\"octicon octicon-link\" viewBox=\"0 0 16 16\" version=\"1.1\" width=\"16\" "
                            "height=\"16\" aria-hidden=\"true\"><path d=\"m7.775 3.275 1.25-1.25a3.5 3.5 0 1 1 4.95 "
                            "4.95l-2.5 2.5a3.5 3.5 0 0 1-4.95 0\"></path></svg></a></div>\n");
}

/// A README of many sections of fifty entries each (Swift, SwiftUI and
/// Objective-C in turn, so that two in three are read), one entry in eight
/// the maker's, in the page GitHub wraps around it.
QString ordinaryPage(qsizetype size)
{
    static const QStringList sections{QStringLiteral("Swift"), QStringLiteral("SwiftUI"),
                                      QStringLiteral("Objective-C")};
    QString page = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>GitHub - "
                                  "tarnwick/mobile-libraries</title></head>\n<body><div class=\"application-main\">\n"
                                  "<article class=\"markdown-body entry-content container-lg\" itemprop=\"text\">\n");
    page.reserve(size + 4096);
    int entry = 0;
    for (int section = 0; page.size() < size; ++section) {
        page += heading(sections.at(section % sections.size()));
        page += QStringLiteral("<ul dir=\"auto\">\n");
        for (int i = 0; i < 50; ++i, ++entry) {
            const QString name = (entry % 8 == 0 ? QStringLiteral("KWLibrary") : QStringLiteral("Library"))
                                 + QString::number(entry);
            page += QStringLiteral("<li><a href=\"https://github.com/tarnwick/") + name + QStringLiteral("\">") + name
                    + QStringLiteral("</a> - A library that takes care of one more thing apps need, number ")
                    + QString::number(entry) + QStringLiteral(".</li>\n");
        }
        page += QStringLiteral("</ul>\n<p dir=\"auto\">See the contribution guide before adding a library.</p>\n");
    }
    page += QStringLiteral("</article></div></body></html>\n");
    return page;
}

QString repeated(const QString &prefix, const QString &unit, const QString &suffix, qsizetype size)
{
    QString page = prefix;
    page.reserve(size + prefix.size() + suffix.size());
    while (page.size() < size)
        page += unit;
    return page + suffix;
}

/// The median of `runs` timings of `work`, in milliseconds.
double medianMilliseconds(const std::function<void()> &work, int count = runs)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

/// The page's expressions matched as written, over every section.
qsizetype literalMatches(const QString &page)
{
    static const QRegularExpression headingPattern(QString(supplementalPodsHeadingPattern),
                                                   supplementalPodsPatternOptions);
    static const QRegularExpression entryPattern(QString(supplementalPodsEntryPattern), supplementalPodsPatternOptions);
    qsizetype count = 0;
    for (auto it = headingPattern.globalMatch(page); it.hasNext(); it.next())
        ++count;
    for (auto it = entryPattern.globalMatch(page); it.hasNext(); it.next())
        ++count;
    return count;
}

void row(const char *what, qsizetype size, double milliseconds, const char *limit)
{
    std::printf("| %-52s | %6.2f MB | %9.1f | %6s |\n", what, static_cast<double>(size) / (1024.0 * 1024.0),
                milliseconds, limit);
}

} // namespace

int main()
{
    constexpr qsizetype megabyte = 1024 * 1024;
    bool withinLimits = true;
    std::printf("| Page | Size | ms (median of %d) | Limit |\n|---|---:|---:|---:|\n", runs);

    const QString ordinary = ordinaryPage(5 * megabyte);
    qsizetype pods = 0;
    const double ordinaryTime = medianMilliseconds([&] { pods = parseSupplementalPods(ordinary).size(); });
    row(qPrintable(QStringLiteral("ordinary page (%1 supplemental pods)").arg(pods)), ordinary.size(), ordinaryTime,
        "100");
    withinLimits = withinLimits && ordinaryTime < 100 && pods > 0;

    const QString swift = heading(QStringLiteral("Swift"));
    const struct
    {
        const char *what;
        QString page;
    } hostile[] = {
        {"headings that never close", repeated({}, QStringLiteral("<div class=\"markdown-heading\"><h3>Swift"), {}, megabyte)},
        {"headings without </div>", repeated({}, QStringLiteral("<div class=\"markdown-heading\"><h3>Swift</h3>"), {}, megabyte)},
        {"entries without </li>", repeated(swift, QStringLiteral("<li><a href=\"u\">KWa</a> - d "), {}, megabyte)},
        {"a description of white space", repeated(swift + QStringLiteral("<li><a href=\"u\">KWa</a> - x"),
                                                  QStringLiteral(" "), QStringLiteral("<"), megabyte)},
        {"links within links", repeated(swift, QStringLiteral("<li><a href=\""), QStringLiteral("\">KWa</a> - d<"),
                                        megabyte)},
    };
    for (const auto &page : hostile) {
        const double time = medianMilliseconds([&] { (void)parseSupplementalPods(page.page); });
        row(page.what, page.page.size(), time, "1000");
        withinLimits = withinLimits && time < 1000;
    }

    std::printf("\nThe page's expressions matched by QRegularExpression, for comparison:\n\n"
                "| Page | Size | ms (median of 3) |\n|---|---:|---:|\n");
    std::printf("| %-52s | %6.2f MB | %9.1f |\n", "ordinary page", static_cast<double>(ordinary.size()) / megabyte,
                medianMilliseconds([&] { (void)literalMatches(ordinary); }, 3));
    const QString whiteSpace = repeated(swift + QStringLiteral("<li><a href=\"u\">KWa</a> - x"), QStringLiteral(" "),
                                        QStringLiteral("<"), 8 * 1024);
    std::printf("| %-52s | %6.3f MB | %9.1f |\n", "a description of white space",
                static_cast<double>(whiteSpace.size()) / megabyte,
                medianMilliseconds([&] { (void)literalMatches(whiteSpace); }, 3));

    std::printf("\n%s\n", withinLimits ? "Every page parsed within its limit." : "A page took longer than its limit.");
    return withinLimits ? 0 : 1;
}
