#include "app/DebugConsole.h"
#include "app/TextCatalog.h"
#include "catalogs/PodSelectionViewModel.h"
#include "catalogs/PodfileReader.h"
#include "catalogs/SupplementalPodsPage.h"
#include "generation/PodInstallation.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using test::PageServer;

namespace {

QByteArray fixturePage()
{
    return test::readFile(QStringLiteral(PLINTH_FIXTURES_DIR "/pages/mobile-libraries.html"));
}

QString heading(const QString &title)
{
    return QStringLiteral("<div class=\"markdown-heading\" dir=\"auto\"><h3 tabindex=\"-1\" class=\"heading-element\">")
           + title + QStringLiteral("</h3><a href=\"#x\"></a></div>\n");
}

QString entry(const QString &name, const QString &description)
{
    return QStringLiteral("<li><a href=\"https://github.com/tarnwick/x\">") + name + QStringLiteral("</a> - ")
           + description + QStringLiteral("</li>\n");
}

QString kind(UIInterface interface)
{
    return interface == UIInterface::UIKit ? QStringLiteral("UIKit")
           : interface == UIInterface::swiftUi ? QStringLiteral("SwiftUI")
                                               : QStringLiteral("other");
}

/// "kind title: description" per entry, to compare lists whose ids differ.
QStringList described(const QList<ListItem> &pods)
{
    QStringList lines;
    for (const ListItem &pod : pods)
        lines << kind(pod.interface) + QLatin1Char(' ') + pod.title + QStringLiteral(": ") + pod.description;
    return lines;
}

QStringList titles(const QList<ListItem> &pods)
{
    QStringList list;
    for (const ListItem &pod : pods)
        list << pod.title;
    return list;
}

/// What the page's two expressions find when QRegularExpression matches
/// them as written, with the same choice of entries (KW names that are pod
/// names) as the parser.
QStringList literalParse(const QString &page)
{
    const QRegularExpression headingPattern(QString(supplementalPodsHeadingPattern), supplementalPodsPatternOptions);
    const QRegularExpression entryPattern(QString(supplementalPodsEntryPattern), supplementalPodsPatternOptions);
    QList<QRegularExpressionMatch> headings;
    for (auto it = headingPattern.globalMatch(page); it.hasNext();)
        headings << it.next();
    QStringList pods;
    for (qsizetype i = 0; i < headings.size(); ++i) {
        const QString title = headings.at(i).captured(1);
        if (title != QLatin1String("Swift") && title != QLatin1String("SwiftUI"))
            continue;
        const qsizetype end = i + 1 < headings.size() ? headings.at(i + 1).capturedStart() : page.size();
        const QString section = page.mid(headings.at(i).capturedEnd(), end - headings.at(i).capturedEnd());
        for (auto it = entryPattern.globalMatch(section); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (match.captured(2).startsWith(QLatin1String("KW")) && isValidPodName(match.captured(2)))
                pods << (title == QLatin1String("Swift") ? QStringLiteral("UIKit") : title) + QLatin1Char(' ')
                            + match.captured(2) + QStringLiteral(": ") + match.captured(3);
        }
    }
    return pods;
}

/// A page of random headings and entries, whole and broken in every part.
QString randomPage(QRandomGenerator &random)
{
    using Choices = QStringList;
    static const QList<Choices> headingParts{
        {"<div class=\"markdown-heading\">", "<div class=\"markdown-heading\" dir=\"a\">", "<div class=\"markdown-heading\"", ""},
        {"", "<p>", "\n"},
        {"<h3>", "<h3 class=\"h\">", "<h3", "<h2>", ""},
        {"Swift", "SwiftUI", "Other", ""},
        {"</h3>", "</h2>", ""},
        {"<a></a>", ""},
        {"</div>", ""}};
    static const QList<Choices> entryParts{
        {"<li>", "<li> ", "<li>\n", "<li"},
        {"<a href=\"", "<a href=", "<a  href=\""},
        {"u", "", "<li><a href=\"x"},
        {"\">", "\"", "\" x>"},
        {"KWa", "KWb c", "Other", "", "KW<"},
        {"</a>", "</a"},
        {"", " ", "\u00A0", "\n "},
        {"-", "", "--"},
        {"", " ", "\t", "\u2003"},
        {"desc", "", "d e", "x<y"},
        {"", " ", "\n", "\u00A0"},
        {"</li>", "</li", "<", ""}};
    QString page;
    for (int block = random.bounded(8); block > 0; --block) {
        for (const Choices &part : random.bounded(4) == 0 ? headingParts : entryParts)
            page += part.at(random.bounded(part.size()));
    }
    return page;
}

struct Screen
{
    explicit Screen(const QUrl &page, const QString &ui = text(key::uiKit))
    {
        details.selectedUI = ui;
        details.projectType = ProjectType::new_;
        model = std::make_unique<PodSelectionViewModel>(details, page);
    }

    ProjectDetailsModel details;
    std::unique_ptr<PodSelectionViewModel> model;
};

} // namespace

class TestPodSelection : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("recorded page")
            << QString::fromUtf8(fixturePage())
            << QStringList{"UIKit KWNetworking: Typed requests and responses over URLSession, with retry and logging.",
                           "UIKit KWKeychain: Keychain access with Codable values &amp; biometric protection.",
                           "UIKit KWForms: Form building blocks with validation\n",
                           "SwiftUI KWSwiftUIKit: Buttons, cards and sheets in the house style.",
                           "SwiftUI KWNetworking: Typed requests and responses over URLSession, with async/await.",
                           "SwiftUI KWMaps: Map annotations and clustering for SwiftUI."};
        QTest::newRow("no heading exactly Swift or SwiftUI")
            << heading("Swift ") + entry("KWa", "a") + heading("swiftui") + "<h3>Swift</h3>" + entry("KWb", "b")
            << QStringList{};
        QTest::newRow("a section ends at any heading")
            << heading("Swift") + entry("KWa", "a") + heading("Tools") + entry("KWb", "b")
            << QStringList{"UIKit KWa: a"};
        QTest::newRow("unicode white space around the dash, as ICU's \\s")
            << heading("Swift") + "<li><a href=\"u\">KWa</a>\u00A0-\u2003Maps\u00A0</li>"
            << QStringList{"UIKit KWa: Maps\u00A0"};
        // PCRE2 counts U+180E as white space; Unicode (and ICU) no longer do.
        QTest::newRow("U+180E is not white space")
            << heading("Swift") + "<li><a href=\"u\">KWa</a>\u180E- Maps</li>" << QStringList{};
        QTest::newRow("white space only: its last character is the description")
            << heading("Swift") + "<li><a href=\"u\">KWa</a> -  \t</li>" << QStringList{"UIKit KWa: \t"};
        QTest::newRow("names that are not pod names")
            << heading("Swift") + entry("KW Maps", "a") + entry("KW'x", "b") + entry("KWok", "c")
            << QStringList{"UIKit KWok: c"};
    }

    void parse()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, expected);
        QCOMPARE(described(parseSupplementalPods(page)), expected);
    }

    // The scanner finds what the page's expressions find: on the recorded
    // page and on thousands of random pages of whole and broken markup.
    void parseMatchesTheExpressions()
    {
        QCOMPARE(described(parseSupplementalPods(QString::fromUtf8(fixturePage()))),
                 literalParse(QString::fromUtf8(fixturePage())));
        QRandomGenerator random(20240611);
        for (int i = 0; i < 5000; ++i) {
            const QString page = heading(i % 2 ? QStringLiteral("Swift") : QStringLiteral("SwiftUI")) + randomPage(random);
            const QStringList expected = literalParse(page);
            QVERIFY2(described(parseSupplementalPods(page)) == expected, qPrintable(page));
        }
    }

    // Pages built to make the expressions backtrack: each 1 MB.
    void hostilePagesParseQuickly_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        const QString swift = heading("Swift");
        QTest::newRow("unclosed headings") << "<div class=\"markdown-heading\"><h3>Swift" << "" << "";
        QTest::newRow("headings without </div>") << "<div class=\"markdown-heading\"><h3>Swift</h3>" << "" << "";
        QTest::newRow("entries without </li>") << "<li><a href=\"u\">KWa</a> - d " << swift << "";
        QTest::newRow("description of white space") << " " << swift + "<li><a href=\"u\">KWa</a> - x" << "<";
        QTest::newRow("links within links") << "<li><a href=\"" << swift << "\">KWa</a> - d<";
    }

    void hostilePagesParseQuickly()
    {
        QFETCH(QString, unit);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        QString page = prefix;
        page.reserve(1024 * 1024 + prefix.size() + suffix.size());
        while (page.size() < 1024 * 1024)
            page += unit;
        page += suffix;
        QElapsedTimer timer;
        timer.start();
        const QList<ListItem> pods = parseSupplementalPods(page);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed()) + " ms"));
        QVERIFY(pods.isEmpty());
    }

    // The second list of an existing project, from its Podfile's default block.
    void podfilePods_data()
    {
        QTest::addColumn<QString>("podfile");
        QTest::addColumn<QStringList>("expected"); // titles; those not in the catalog have no description
        const QString tail = QStringLiteral("end\n\npost_install do |installer|\nend\n");
        QTest::newRow("catalog pods first, secrets pod left out")
            << "# Default pods\n  pod 'Kingfisher'\n  pod 'Foo'\n  pod 'FooSecrets', :path => 'Secrets'\n"
                   + tail
            << QStringList{"Kingfisher", "Foo"};
        QTest::newRow("catalog order, then Podfile order, once each")
            << "# Default pods\npod 'B'\npod 'SwiftLint'\npod 'A', '~> 1.0'\npod 'R.swift'\npod 'B'\n" + tail
            << QStringList{"R.swift", "SwiftLint", "B", "A"};
        QTest::newRow("pods outside the block") << "pod 'Before'\n# Default pods\npod 'Inside'\n" + tail
                                                       + "pod 'After'\n"
                                                << QStringList{"Inside"};
        QTest::newRow("nested targets, tabs") << "# Default pods\n\tpod\t'Tabbed'\n target 'T' do\n  pod 'Quick'\n"
                                                     + tail
                                              << QStringList{"Tabbed", "Quick"};
        QTest::newRow("not a pod line") << "# Default pods\nipod 'No'\n# pods 'No'\npod \"Double\"\n" + tail
                                        << QStringList{};
        QTest::newRow("markers in the wrong order") << "post_install do |i|\nend\n# Default pods\npod 'A'\n"
                                                    << QStringList{};
        QTest::newRow("non-ASCII name") << "# Default pods\npod 'Café'\n" + tail << QStringList{"Café"};
    }

    void podfilePods()
    {
        QFETCH(QString, podfile);
        QFETCH(QStringList, expected);
        const QList<ListItem> catalog = ProjectDetailsModel().presetAndSelectedPods;
        const QList<ListItem> pods = plinth::podfilePods(podfile, catalog, false);
        QCOMPARE(titles(pods), expected);
        for (const ListItem &pod : pods) {
            const auto inCatalog = std::find_if(catalog.cbegin(), catalog.cend(),
                                                [&pod](const ListItem &item) { return item.title == pod.title; });
            QCOMPARE(pod.description, inCatalog != catalog.cend() ? inCatalog->description
                                                                  : text(key::descriptionNotFoundForPod, pod.title));
            QCOMPARE(pod.podType, PodType::preset);
        }
    }

    // A new project: the page's pods of the UI kind, moved back and forth.
    void selectDeselectAndSave_data()
    {
        QTest::addColumn<QString>("ui");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("UIKit") << text(key::uiKit) << QStringList{"KWNetworking", "KWKeychain", "KWForms"};
        QTest::newRow("SwiftUI") << text(key::swiftUi) << QStringList{"KWSwiftUIKit", "KWNetworking", "KWMaps"};
    }

    void selectDeselectAndSave()
    {
        QFETCH(QString, ui);
        QFETCH(QStringList, offered);
        PageServer server(fixturePage());
        Screen screen(server.url(), ui);
        QSignalSpy chosenChanged(screen.model.get(), &PodSelectionViewModel::presetAndSelectedPodsChanged);
        screen.model->appear();
        QCOMPARE(titles(screen.model->presetAndSelectedPods()), titles(screen.details.presetAndSelectedPods));
        QTRY_VERIFY_WITH_TIMEOUT(screen.model->hasLoadedSupplementalPods(), 5000);
        QCOMPARE(titles(screen.model->supplementalPods()), offered);
        QVERIFY(!screen.model->supplementalPodsUnavailable());

        chosenChanged.clear();
        screen.model->selectSupplementalPod(1);
        QCOMPARE(chosenChanged.size(), 1);
        QCOMPARE(screen.model->presetAndSelectedPods().first().title, offered.at(1));
        QCOMPARE(screen.model->presetAndSelectedPods().first().podType, PodType::userSelected);
        QCOMPARE(titles(screen.model->supplementalPods()), (QStringList{offered.at(0), offered.at(2)}));

        screen.model->deselectPod(0); // back to the top of the first list
        QCOMPARE(chosenChanged.size(), 2);
        QCOMPARE(titles(screen.model->supplementalPods()).first(), offered.at(1));
        QCOMPARE(screen.model->supplementalPods().first().podType, PodType::supplemental);

        const int swiftLint = static_cast<int>(titles(screen.model->presetAndSelectedPods()).indexOf("SwiftLint"));
        screen.model->deselectPod(swiftLint);
        QCOMPARE(screen.model->supplementalPodsForSelectedUI().first().title, "SwiftLint");
        QCOMPARE(screen.model->supplementalPodsForSelectedUI().first().podType, PodType::supplemental);
        screen.model->selectSupplementalPod(3); // SwiftLint, then the three offered pods
        screen.model->selectSupplementalPod(99); // no such row: nothing happens
        screen.model->deselectPod(-1);

        screen.model->saveSelectedPods();
        QCOMPARE(screen.details.userSelectedPods, titles(screen.model->presetAndSelectedPods()));
        QCOMPARE(screen.details.userSelectedPods.first(), offered.at(2));
        QVERIFY(!screen.details.userSelectedPods.contains("SwiftLint"));
    }

    // An existing project: the Podfile's pods are the second list, and the
    // page's pods among them are not offered again.
    void existingProject()
    {
        QTemporaryDir projects;
        QVERIFY(test::writeFile(projects.filePath("Shop/Podfile"),
                                "target 'Shop' do\n  # Default pods\n  pod 'Kingfisher'\n  pod 'KWNetworking'\n"
                                "  pod 'ShopSecrets', :path => 'ShopSecrets'\nend\npost_install do |i|\nend\n"));
        PageServer server(fixturePage());
        Screen screen(server.url());
        screen.details.projectType = ProjectType::existing;
        screen.details.projectPath = projects.path();
        screen.details.projectName = "Shop";
        screen.model->appear();
        QCOMPARE(titles(screen.model->presetAndSelectedPods()), (QStringList{"Kingfisher", "KWNetworking"}));
        QCOMPARE(screen.model->presetAndSelectedPods().at(1).interface, UIInterface::UIKit);
        QTRY_VERIFY_WITH_TIMEOUT(screen.model->hasLoadedSupplementalPods(), 5000);
        QCOMPARE(titles(screen.model->supplementalPods()), (QStringList{"KWKeychain", "KWForms"}));

        ConsoleCapture console;
        Screen missing{QUrl()};
        missing.details.projectType = ProjectType::existing;
        missing.details.projectPath = projects.path();
        missing.details.projectName = "Gone";
        missing.model->loadPodsFromPodfile();
        QVERIFY(missing.model->presetAndSelectedPods().isEmpty());
        QCOMPARE(console.lines(), QStringList{"Pod not exist"});
    }

    // The page cannot be read or lists nothing: the first list says so, and
    // a pod given back while the page was on its way stays offered.
    void unavailablePage_data()
    {
        QTest::addColumn<int>("server"); // 0 none listening, 1 page without pods, 2 error status, 3 too large
        QTest::addColumn<bool>("consoleLine");
        QTest::newRow("unreachable") << 0 << true;
        QTest::newRow("no pods on the page") << 1 << false;
        QTest::newRow("error status") << 2 << true;
        QTest::newRow("larger than allowed") << 3 << true;
    }

    void unavailablePage()
    {
        QFETCH(int, server);
        QFETCH(bool, consoleLine);
        const QByteArray body = server == 3 ? QByteArray(maximumPageBytes + 1, ' ') : QByteArray("<html></html>");
        PageServer page(body, server == 2 ? "500 Internal Server Error" : "200 OK");
        QUrl url = page.url();
        if (server == 0)
            page.close();
        ConsoleCapture console;
        Screen screen(url);
        screen.model->appear();
        const int swiftLint = static_cast<int>(titles(screen.model->presetAndSelectedPods()).indexOf("SwiftLint"));
        screen.model->deselectPod(swiftLint);
        QTRY_VERIFY_WITH_TIMEOUT(screen.model->supplementalPodsUnavailable(), 10000);
        QCOMPARE(titles(screen.model->supplementalPods()), QStringList{"SwiftLint"});
        const QString prefix = text(key::htmlContentRetriveFailure, QString()).trimmed();
        QCOMPARE(console.lines().filter(prefix).size(), consoleLine ? 1 : 0);
    }

    // A large page is parsed on the thread pool; a model gone by the time
    // its page arrives takes nothing down with it.
    void largePageAndModelGoneEarly()
    {
        const QByteArray padding = "<!--" + QByteArray(PodSelectionViewModel::backgroundParseThreshold, 'x') + "-->";
        PageServer server(padding + fixturePage());
        Screen screen(server.url());
        screen.model->appear();
        QTRY_VERIFY_WITH_TIMEOUT(screen.model->hasLoadedSupplementalPods(), 5000);
        QCOMPARE(screen.model->supplementalPods().size(), 3);

        screen.model->appear();
        QTRY_COMPARE_WITH_TIMEOUT(server.requests(), 2, 5000);
        screen.model.reset();
        QCoreApplication::processEvents();
    }
};

QTEST_GUILESS_MAIN(TestPodSelection)
#include "TestPodSelection.moc"
