#include "app/base/DebugConsole.h"
#include "app/FakeServices.h"
#include "app/base/TextCatalog.h"
#include "catalogs/PodSelectionViewModel.h"
#include "catalogs/PodfileReader.h"
#include "catalogs/SupplementalPodsPage.h"
#include "generation/GenerationFixture.h"
#include "generation/PodInstallation.h"
#include "tools/PageServer.h"
#include "tools/TestFiles.h"

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

/// "kind title: description" per entry, to compare lists whose ids differ.
QStringList described(const QList<ListItem> &pods)
{
    QStringList lines;
    for (const ListItem &pod : pods)
        lines << (pod.interface == UIInterface::UIKit ? QStringLiteral("UIKit ") : QStringLiteral("SwiftUI ")) + pod.title
                     + QStringLiteral(": ") + pod.description;
    return lines;
}

QStringList titles(const QList<ListItem> &pods)
{
    QStringList list;
    for (const ListItem &pod : pods)
        list << pod.title;
    return list;
}

} // namespace

class TestPodSelection : public QObject
{
    Q_OBJECT

private slots:
    // The recorded page; a section of Unicode white space around the dash
    // that ends at another heading; the headings that are not quite
    // "Swift", the entries whose names would break a Podfile, and U+180E,
    // which PCRE2 counts as white space but Unicode (and ICU) no longer do.
    // (Random pages are the fuzzer's: it holds the scanner to the page's
    // expressions.) Then a page of 1 MB built to make the scanner go over
    // it again and again: it is parsed within a second.
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
        QTest::newRow("white space around the dash, section ends at a heading")
            << heading("SwiftUI") + "<li><a href=\"u\">KWa</a>\u00A0-\u2003d e\n</li>" + heading("Other")
                   + entry("KWb", "b")
            << QStringList{"SwiftUI KWa: d e\n"};
        QTest::newRow("no heading exactly Swift or SwiftUI")
            << heading("Swift ") + entry("KWa", "a") + heading("swiftui") + "<h3>Swift</h3>" + entry("KWb", "b")
            << QStringList{};
        QTest::newRow("names that are not pod names")
            << heading("Swift") + entry("KW Maps", "a") + entry("KW'x", "b") + entry("KWok", "c") << QStringList{"UIKit KWok: c"};
        QTest::newRow("U+180E is not white space")
            << heading("Swift") + "<li><a href=\"u\">KWa</a>\u180E- Maps</li>" << QStringList{};

        const auto mb = [](const QString &unit) { return unit.repeated(1024 * 1024 / unit.size() + 1); };
        QTest::newRow("entries without </li>")
            << heading("Swift") + mb("<li><a href=\"u\">KWa</a> - d ") << QStringList{};
    }

    void parse()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, expected);
        QElapsedTimer timer;
        timer.start();
        const QList<ListItem> pods = parseSupplementalPods(page);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed()) + " ms"));
        QCOMPARE(described(pods), expected);
    }

    // The second list of an existing project, from what the Podfile editor
    // lists for the app target: catalog pods as the catalog has them (the
    // declaration's options after the description), others with the "not
    // found" description and the project's UI kind, each once, the secrets
    // pods left out; lines that are not pods ignored. (A failed listing and
    // its message: TestCli.)
    void podfilePods()
    {
        ScriptResult result;
        result.output = "B\town\tpod 'B'\nSwiftLint\tinherited\tpod 'SwiftLint'\nA\town\tpod 'A', '~> 1.0'\n"
                        "BSecrets\town\tpod 'BSecrets', :path => 'Dependencies/BSecrets'\n"
                        "Kingfisher\town\tpod 'Kingfisher'\nB\town\tpod 'B'\n"
                        "Firebase/Analytics\town\tpod 'Firebase/Analytics'\n"
                        "PodfileEditor: left X: it is declared outside\nC\tshared\tpod 'C'\n\town\tpod ''\n";
        result.exitCode = 0;
        const PodfileListing listing = parsePodfileListing(result);
        QVERIFY(listing.read);
        QVERIFY(listing.error.isEmpty());
        const QList<ListItem> catalog = ProjectDetailsModel().presetAndSelectedPods;
        const QList<ListItem> pods = plinth::podfilePods(listing.pods, catalog, true);
        QCOMPARE(titles(pods), (QStringList{"Kingfisher", "SwiftLint", "B", "A", "Firebase/Analytics"}));
        const auto fromCatalog = [&](const QString &title) { return catalog.at(titles(catalog).indexOf(title)); };
        QCOMPARE(pods.at(0).description, fromCatalog("Kingfisher").description);
        QCOMPARE(pods.at(0).interface, fromCatalog("Kingfisher").interface);
        const QString outside = " " + text(key::podDeclaredOutsideTarget);
        QCOMPARE(pods.at(1).description, fromCatalog("SwiftLint").description + outside);
        QCOMPARE(pods.at(2).description, text(key::descriptionNotFoundForPod, "B"));
        QCOMPARE(pods.at(2).interface, UIInterface::UIKit);
        QCOMPARE(pods.at(3).description, text(key::descriptionNotFoundForPod, "A") + " ('~> 1.0')");
        QCOMPARE(pods.at(4).description, text(key::descriptionNotFoundForPod, "Firebase/Analytics"));
        for (const ListItem &pod : pods)
            QCOMPARE(pod.podType, PodType::preset);
    }

    // The page's pods of the UI kind are offered after a pod given back
    // from the second list while the page was on its way. The second list
    // is a new project's preset pods, or the pods of an existing project's
    // Podfile (the page's pods among them are not offered again; without a
    // Podfile the list is empty and the console says so). A large page is
    // parsed on the thread pool. A page that cannot be read (a console line
    // says why) leaves the given-back pod alone and marks
    // the pods unavailable. Saving takes the second list.
    void pagesAndChoice_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("podfile"); // empty: a new project; "-": an existing one without a Podfile
        QTest::addColumn<QStringList>("offered"); // after the given-back pod
        const QStringList uiKitPods{"KWNetworking", "KWKeychain", "KWForms"};
        const QString podfile = "target 'Shop' do\n  # Default pods\n  pod 'Kingfisher'\n  pod 'KWNetworking'\n"
                                "  pod 'ShopSecrets', :path => 'ShopSecrets'\nend\npost_install do |i|\nend\n";
        QTest::newRow("existing project") << "recorded" << podfile << QStringList{"KWKeychain", "KWForms"};
        QTest::newRow("existing project without a Podfile") << "recorded" << "-" << uiKitPods;
        QTest::newRow("large page") << "large" << "" << uiKitPods;
        QTest::newRow("error status") << "error" << "" << QStringList{};
        QTest::newRow("larger than allowed") << "too large" << "" << QStringList{};
    }

    void pagesAndChoice()
    {
        QFETCH(QString, page);
        QFETCH(QString, podfile);
        QFETCH(QStringList, offered);
        QByteArray body = "<html></html>";
        if (page == "recorded" || page == "large")
            body = "<!--" + QByteArray(page == "large" ? PodSelectionViewModel::backgroundParseThreshold : 0, 'x') + "-->"
                   + fixturePage();
        else if (page == "too large")
            body = QByteArray(maximumPageBytes + 1, ' ');
        PageServer server(body, page == "error" ? "500 Internal Server Error" : "200 OK");
        QTemporaryDir projects;
        ProjectDetailsModel details;
        details.selectedUI = text(key::uiKit);
        details.projectType = podfile.isEmpty() ? ProjectType::new_ : ProjectType::existing;
        details.projectPath = projects.path();
        details.projectName = "Shop";
        if (podfile.size() > 1)
            QVERIFY(test::writeFile(projects.filePath("Shop/Podfile"), podfile.toUtf8()));
        ConsoleCapture console;
        auto model = std::make_unique<PodSelectionViewModel>(details, server.url(), fixture::fakeRunner(),
                                                             ResourceBundle(fixture::shippedBundle()));
        model->appear();
        const QStringList chosen = podfile.isEmpty() ? titles(details.presetAndSelectedPods)
                                           : podfile == "-"  ? QStringList{}
                                                             : QStringList{"Kingfisher", "KWNetworking"};
        QTRY_COMPARE_WITH_TIMEOUT(titles(model->presetAndSelectedPods()), chosen, 10000);
        const bool failed = offered.isEmpty();
        if (!chosen.isEmpty()) {
            model->deselectPod(0);
            offered.prepend(chosen.first());
        }
        QTRY_VERIFY_WITH_TIMEOUT(model->hasLoadedSupplementalPods() || model->supplementalPodsUnavailable(), 10000);
        QCOMPARE(titles(model->supplementalPodsForSelectedUI()), offered);
        QCOMPARE(model->supplementalPodsUnavailable(), offered.size() == 1);
        QCOMPARE(console.lines().filter(text(key::htmlContentRetriveFailure, QString()).trimmed()).size(), failed ? 1 : 0);
        QCOMPARE(console.lines().contains("Pod not exist"), podfile == "-");

        // The moves themselves are the view test's; here, rows that do not
        // exist and what is saved.
        QSignalSpy chosenChanged(model.get(), &PodSelectionViewModel::presetAndSelectedPodsChanged);
        model->selectSupplementalPod(99);
        model->deselectPod(-1);
        QCOMPARE(chosenChanged.size(), 0);
        model->selectSupplementalPod(static_cast<int>(offered.size()) - 1);
        model->saveSelectedPods();
        QCOMPARE(chosenChanged.size(), 1);
        QCOMPARE(details.userSelectedPods, titles(model->presetAndSelectedPods()));
        QCOMPARE(details.userSelectedPods.first(), offered.last());
        QCOMPARE(details.userSelectedPods.contains(chosen.value(0)), offered.size() == 1);
        // Only a pod of the Podfile that the user took out is to be removed.
        QCOMPARE(details.removedPods, podfile.size() > 1 && offered.size() > 1 ? QStringList{"Kingfisher"}
                                                                               : QStringList{});
    }

    // The screen closed while its page request hangs: the request goes with
    // the model and nothing reaches it afterwards.
    void modelGoneWhileThePageStalls()
    {
        PageServer server("<html></html>");
        server.stall();
        ProjectDetailsModel details;
        details.projectType = ProjectType::new_;
        ConsoleCapture console;
        auto model = std::make_unique<PodSelectionViewModel>(details, server.url());
        model->appear();
        QTRY_COMPARE_WITH_TIMEOUT(server.requests(), 1, 5000);
        model.reset();
        QTest::qWait(200);
        QVERIFY(console.lines().isEmpty());
    }

    // Next over an existing project in Git: uncommitted changes in files the
    // run would change are named (five at most) and the answer decides
    // whether the wizard goes on; other changes ask nothing. A deleted
    // Podfile ("-") counts only when the run would write one again: for the
    // AWS pod, not for its Swift package.
    void uncommittedWorkIsAskedAbout_data()
    {
        QTest::addColumn<QStringList>("changed");
        QTest::addColumn<DependencyManager>("manager");
        QTest::addColumn<int>("answer"); // the button pressed; -1: nothing is asked
        const auto cocoaPods = DependencyManager::cocoaPods;
        QTest::newRow("an unrelated file") << QStringList{"Orbit/AppDelegate.swift"} << cocoaPods << -1;
        QTest::newRow("the Podfile, go back") << QStringList{"Podfile"} << cocoaPods << 0;
        QTest::newRow("six files, continue") << QStringList{".arkana.yml", ".env", "Gemfile", "Gemfile.lock", "Podfile",
                                                            "Podfile.lock"}
                                             << cocoaPods << 1;
        QTest::newRow("Podfile deleted, a pod") << QStringList{"-Podfile"} << cocoaPods << 0;
        QTest::newRow("Podfile deleted, a package")
            << QStringList{"-Podfile"} << DependencyManager::swiftPackageManager << -1;
    }
    void uncommittedWorkIsAskedAbout()
    {
        QFETCH(QStringList, changed);
        QFETCH(DependencyManager, manager);
        QFETCH(int, answer);
        QTemporaryDir work;
        const QString root = work.filePath("orbit-ios");
        QVERIFY(fixture::copyTeamProject(root) && fixture::commitAll(root));
        for (QString &file : changed) {
            if (file.startsWith('-'))
                QVERIFY(QFile::remove(root + '/' + file.remove(0, 1)));
            else
                QVERIFY(test::writeFile(root + '/' + file, test::readFile(root + '/' + file) + "# edited\n"));
        }

        ProjectDetailsModel details;
        details.projectType = ProjectType::existing;
        details.projectFolder = root;
        details.projectName = "Orbit";
        details.doesIncludeArkana = false;
        details.doesIncludeAWS = true;
        test::FakeAlerts alerts;
        PodSelectionViewModel model(details, QUrl(), fixture::fakeRunner(), ResourceBundle(fixture::shippedBundle()),
                                    &alerts);
        model.setDependencyManager(manager);
        int wentOn = 0;
        model.proceed([&wentOn] { ++wentOn; });
        model.proceed([&wentOn] { ++wentOn; }); // pressed again while Git runs
        if (answer < 0) {
            QTRY_COMPARE(wentOn, 1);
            QVERIFY(alerts.shown.isEmpty());
            return;
        }
        QTRY_COMPARE(alerts.shown.size(), 1);
        const QString message = alerts.shown.first();
        const auto named = std::count_if(changed.begin(), changed.end(),
                                         [&message](const QString &file) { return message.contains('\n' + file + '\n'); });
        QVERIFY2(named == std::min<qsizetype>(changed.size(), 5), qPrintable(message));
        QCOMPARE(message.contains(text(key::uncommittedChangesMore, "1")), changed.size() > 5);
        QCOMPARE(alerts.options.first(), (QStringList{text(key::goBack), text(key::continueAnyway)}));
        QCOMPARE(wentOn, 0);
        alerts.answer(answer);
        QCOMPARE(wentOn, answer);
    }
};

QTEST_GUILESS_MAIN(TestPodSelection)
#include "TestPodSelection.moc"
