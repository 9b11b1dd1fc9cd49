#include "app/base/TextCatalog.h"
#include "catalogs/ProjectUIDetection.h"
#include "cli/CliRun.h"
#include "tools/RunProcess.h"
#include "tools/TestFiles.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace plinth;
using plinth::test::writeFile;

class TestHostileInputs : public QObject
{
    Q_OBJECT

private slots:
    // plinth-cli generate with hostile names, folders and pods: a correct
    // project or a clear refusal, no injected command run, nothing outside
    // the project touched.
    void generate_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("organisation");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("pods");
        QTest::addColumn<bool>("refused");
        const QString org = "Tarnwick Labs", ada = "Ada Lovelace", plain = "Projects";
        const QStringList lint{"SwiftLint"};
        // A product name like "$(touch CANARY)" is refused before anything
        // runs: TestCli's invalidDescription and TestProjectRules; so is a
        // pod name that closes its Ruby string (TestCli's invalidDescription).
        QTest::newRow("names: quotes, markup, commands") << "Orbit" << "O'Brien's \"Hi\" <Labs> & $(touch CANARY)"
                                                         << "D'Arcy `touch CANARY`" << plain << lint << false;
        QTest::newRow("names: newline, emoji, right to left") << "Orbit" << "Tarnwick\nLabs 🚀 מעבדות"
                                                              << "Ada\nLovelace 👩‍💻 عدا" << plain << lint << false;
        // Spaces, quotes and non-ASCII in the folder through a whole run are
        // TestGenerationRun's and TestCli's; here what a shell would expand.
        QTest::newRow("path: dollar, quotes")
            << "Orbit" << org << ada << "It's \"$HOME\" $(touch CANARY) `touch CANARY`" << lint << false;
        QTest::newRow("path: 250 bytes") << "Orbit" << org << ada << QString(250, 'p') << lint << false;
        QTest::newRow("pod: subspec") << "Orbit" << org << ada << plain << QStringList{"Firebase/Analytics", "SwiftLint"} << false;
        QTest::newRow("pod: bad subspec") << "Orbit" << org << ada << plain << QStringList{"Firebase/'x"} << true;
    }

    void generate()
    {
        QFETCH(QString, name);
        QFETCH(QString, organisation);
        QFETCH(QString, author);
        QFETCH(QString, folder);
        QFETCH(QStringList, pods);
        QFETCH(bool, refused);
        QTemporaryDir work;
        const QString parent = work.filePath("parent");
        const QString destination = parent + '/' + folder;
        QVERIFY(writeFile(parent + "/Sibling/keep.txt", "the user's\n"));
        QVERIFY(writeFile(destination + "/Other/keep.txt", "the user's too\n"));
        const auto before = cli::snapshot(parent);

        const QJsonObject description{
            {"projectType", "new"}, {"projectName", name}, {"organizationName", organisation}, {"authorName", author},
            {"selectedUI", "SwiftUI"}, {"minimumDeploymentTarget", "17.0"}, {"projectPath", destination},
            {"configVariant", QJsonArray{"Development", "UAT"}}, {"userSelectedPods", QJsonArray::fromStringList(pods)}};
        QVERIFY(writeFile(work.filePath("cwd/d.json"), QJsonDocument(description).toJson()));
        const cli::Result result = cli::run(cli::underTest, {"generate", "d.json"}, work.filePath("cwd"), cli::fakeToolchain());

        // A file named CANARY anywhere: an injected command ran.
        const QStringList canaries = cli::snapshot(work.path()).keys().filter(QRegularExpression("(^|/)CANARY$"));
        QVERIFY2(canaries.isEmpty(), qPrintable(canaries.join(", ")));
        QVERIFY2(!QFileInfo::exists(QDir::homePath() + "/CANARY"), "an injected command ran");
        auto after = cli::snapshot(parent);
        const QString project = QDir(parent).relativeFilePath(destination + '/' + name);
        after.removeIf([&](const auto &entry) { return entry.key() == project || entry.key().startsWith(project + '/'); });
        // The destination folder itself gained the project: its time changes.
        const QString destinationKey = QDir(parent).relativeFilePath(destination);
        QCOMPARE(after.keys(), before.keys());
        for (auto entry = before.begin(); entry != before.end(); ++entry)
            QVERIFY2(entry.key() == destinationKey || after.value(entry.key()) == entry.value(), qPrintable(entry.key()));
        if (refused) {
            QVERIFY2(result.exitCode == 2 && !result.err.isEmpty(), qPrintable(result.all()));
            QVERIFY(!QFileInfo::exists(destination + '/' + name));
            return;
        }
        QVERIFY2(result.exitCode == 0, qPrintable(result.all()));
        const QString root = destination + '/' + name;
        const auto files = fixture::files(root);
        for (const QString &pod : pods)
            QVERIFY2(files.value("Podfile").contains("  pod '" + pod.toUtf8() + "'\n"), files.value("Podfile").constData());
        // The data files parse, the Swift sources too.
        const auto data = test::runProcess(QStringLiteral(PLINTH_PYTHON),
                                           {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py"), root});
        QVERIFY2(data.exitCode == 0, qPrintable(data.output));
        if (const QString check = QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK); !check.isEmpty())
            QVERIFY2(test::runProcess(check, {root}).exitCode == 0, qPrintable(test::runProcess(check, {root}).output));
        // The file header every new Swift file starts with: comment lines
        // only, naming the author and organisation as given (line breaks
        // made spaces), the date in Xcode's own macros.
        const QString macros = QString::fromUtf8(files.value(name + ".xcodeproj/xcshareddata/IDETemplateMacros.plist"));
        static const QRegularExpression headerString("<string>(.*)</string>", QRegularExpression::DotMatchesEverythingOption);
        const QString header = headerString.match(macros).captured(1);
        QVERIFY2(!header.isEmpty(), qPrintable(macros));
        for (const QString &line : header.split('\n', Qt::SkipEmptyParts))
            QVERIFY2(line.startsWith("//"), qPrintable(line));
        const auto escaped = [](QString text) {
            return text.replace('\n', ' ').replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
        };
        QVERIFY2(header.contains(escaped(author)) && header.contains(escaped(organisation)), qPrintable(header));
        QVERIFY2(header.contains("on ___DATE___.") && header.contains("Copyright © ___YEAR___ "), qPrintable(header));
    }

    // UI detection over a large existing project with links (inside, out of
    // the project, loops), binary files, a pipe named like the app file and
    // an unreadable folder: it ends, stays inside the project and answers
    // from the project's own file only. PLINTH_HOSTILE_FILES sets the count
    // (scripts/hostile-inputs.sh runs 50,000).
    void largeProjectDetection_data()
    {
        QTest::addColumn<bool>("withAppFile");
        QTest::newRow("only a link to an app file outside") << false;
        QTest::newRow("the project's own app file") << true;
    }

    void largeProjectDetection()
    {
        QFETCH(bool, withAppFile);
        const int count = qEnvironmentVariableIntValue("PLINTH_HOSTILE_FILES") > 0
                              ? qEnvironmentVariableIntValue("PLINTH_HOSTILE_FILES") : 3000;
        QTemporaryDir work;
        const QString root = work.filePath("Orbit");
        QVERIFY(writeFile(work.filePath("outside/OrbitApp.swift"), "import UIKit\n"));
        QVERIFY(writeFile(work.filePath("outside/deep/AppDelegate.swift"), "import UIKit\n"));
        QByteArray binary(4096, '\0');
        std::generate(binary.begin(), binary.end(), [i = 0]() mutable { return char(7 * i++); });
        for (int i = 0; i < count; ++i) {
            const QString path = root + QStringLiteral("/Orbit/Feature%1/Sub%2/File%3.%4")
                                            .arg(i / 500).arg(i / 50 % 10).arg(i)
                                            .arg(i % 5 == 0 ? "png" : "swift");
            QVERIFY(writeFile(path, i % 5 == 0 ? binary : QByteArray("struct S {}\n")));
        }
        QVERIFY(QFile::link(work.filePath("outside/OrbitApp.swift"), root + "/Orbit/OrbitApp.swift"));
        QVERIFY(QFile::link(work.filePath("outside"), root + "/Orbit/Outside"));
        QVERIFY(QFile::link(root, root + "/Orbit/Loop"));
        QVERIFY(QFile::link("Feature0", root + "/Orbit/Inside"));
        QVERIFY(::mkfifo(QFile::encodeName(root + "/Orbit/Feature0/PipeAppDelegate.swift").constData(), 0644) == 0);
        QVERIFY(writeFile(root + "/Locked/secret.swift", "x"));
        ::chmod(QFile::encodeName(root + "/Locked").constData(), 0);
        if (withAppFile)
            QVERIFY(writeFile(root + "/Orbit/Feature3/OrbitApp.swift", "import SwiftUI\n@main struct OrbitApp: App {}\n"));
        const auto outside = fixture::files(work.filePath("outside"));

        QElapsedTimer timer;
        timer.start();
        const auto ui = detectProjectUI(root, "Orbit");
        qInfo("UI detection over %d files: %lld ms", count, timer.elapsed());
        ::chmod(QFile::encodeName(root + "/Locked").constData(), 0755);
        QCOMPARE(ui, withAppFile ? std::optional<QString>(text(key::swiftUi)) : std::nullopt);
        QCOMPARE(fixture::files(work.filePath("outside")), outside);
    }
};

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "TestHostileInputs.moc"
