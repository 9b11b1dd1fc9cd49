#include "app/DebugConsole.h"
#include "app/ResourceBundle.h"
#include "generation/GenerationFixture.h"
#include "generation/PodInstallation.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

namespace {

ListItem module(const QString &title, const QStringList &pods)
{
    ListItem item;
    item.title = title;
    item.requiredPods = pods;
    return item;
}

// A script that prints each of its arguments between angle brackets.
void writeArgumentPrinter(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nfor argument; do printf '<%s>\\n' \"$argument\"; done\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));
}

QString bracketed(const QStringList &values)
{
    QString text;
    for (const QString &value : values)
        text += QLatin1Char('<') + value + QStringLiteral(">\n");
    return text;
}

} // namespace

class TestPodInstallation : public QObject
{
    Q_OBJECT

private slots:
    void podListKeepsOrderAndDuplicates()
    {
        ProjectDetailsModel details;
        details.userSelectedPods = {QStringLiteral("SwiftLint"), QStringLiteral("AWSS3")};
        details.userSelectedModules = {module(QStringLiteral("AWSS3"), {QStringLiteral("AWSS3")}),
                                       module(QStringLiteral("BLE"), {}),
                                       module(QStringLiteral("X"), {QStringLiteral("A"), QStringLiteral("B")})};
        QCOMPARE(podList(details), (QStringList{"SwiftLint", "AWSS3", "AWSS3", "A", "B"}));
    }

    void commandsForPlainValues()
    {
        auto details = fixture::newProject(QStringLiteral("/Users/me/Projects"));
        details.authorName = QStringLiteral("  Ada Lovelace\n");
        details.userSelectedPods = {QStringLiteral("SwiftLint"), QStringLiteral("R.swift")};
        QCOMPARE(postGenerationCommand(details, QStringLiteral("/App/Resources/post_gen.sh")),
                 QStringLiteral("bash /App/Resources/post_gen.sh '17.0' 'Orbit' 'n' 'y' 'com.tarnwick.Orbit' 'NA' "
                                "'/Users/me/Projects/Orbit' 'SwiftLint R.swift'"));
        details.userSelectedPods.clear();
        details.doesIncludeAWS = true;
        details.doesIncludeArkana = false;
        QVERIFY(postGenerationCommand(details, QStringLiteral("/p.sh")).endsWith(QStringLiteral(" 'y' 'n' 'com.tarnwick.Orbit' 'NA' '/Users/me/Projects/Orbit' ''")));

        QCOMPARE(podInstallCommand(details, QStringLiteral("/App/Resources/PodInstall.sh"), QStringLiteral("03/02/2025")),
                 QStringLiteral("bash /App/Resources/PodInstall.sh '/Users/me/Projects/Orbit' 'Ada Lovelace' "
                                "'Tarnwick Labs' '03/02/2025' 'Orbit' 'yes' 'no'\r"));
        details.projectType = ProjectType::existing;
        details.doesIncludeArkana = true;
        QVERIFY(podInstallCommand(details, QStringLiteral("/p.sh"), QStringLiteral("d")).endsWith(QStringLiteral(" 'Orbit' 'no' 'yes'\r")));
        details.projectType = ProjectType::none;
        QVERIFY(podInstallCommand(details, QStringLiteral("/p.sh"), QStringLiteral("d")).endsWith(QStringLiteral(" 'Orbit' 'yes' 'yes'\r")));
    }

    void dateText()
    {
        QCOMPARE(podInstallDateText(QDate(2025, 2, 3)), QStringLiteral("03/02/2025"));
        QCOMPARE(podInstallDateText(QDate(1999, 12, 31)), QStringLiteral("31/12/1999"));
    }

    // Whatever a value holds, the scripts receive exactly that value, as one
    // argument.
    void hostileValuesReachTheScripts_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("organisation");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QStringList>("pods");
        QTest::newRow("spaces") << "My Projects/With  Two" << "Tarnwick Labs Ltd" << "Ada  Byron" << QStringList{"A", "B"};
        QTest::newRow("quotes") << "it's \"here\"" << "O'Brien & Sons" << "D'Arcy" << QStringList{"Pod'Name"};
        QTest::newRow("dollar and backticks") << "$HOME/`id`/$(id)" << "$(touch /tmp/pwned)" << "${USER}" << QStringList{"$PATH", "`id`"};
        QTest::newRow("backslashes") << "back\\ slash\\n" << "a\\b" << "\\" << QStringList{"x\\y"};
        QTest::newRow("non-ASCII") << "Projekte/Über Äpfel 日本" << "Müller GmbH" << "Zoë" << QStringList{"Ωmega"};
        QTest::newRow("semicolons and globs") << "a;b|c&d*?[x]" << "; rm -rf ~" << "#comment" << QStringList{"*", ";ls"};
    }

    void hostileValuesReachTheScripts()
    {
        QFETCH(QString, folder);
        QFETCH(QString, organisation);
        QFETCH(QString, author);
        QFETCH(QStringList, pods);
        QTemporaryDir work;
        const QString scriptFolder = work.filePath(QStringLiteral("Plinth's $app/Resources ü"));
        writeArgumentPrinter(scriptFolder + QStringLiteral("/post_gen.sh"));
        writeArgumentPrinter(scriptFolder + QStringLiteral("/PodInstall.sh"));

        auto details = fixture::newProject(work.filePath(folder));
        details.organizationName = organisation;
        details.authorName = author;
        details.userSelectedPods = pods;
        const auto runner = fixture::fakeRunner();

        const QString post = onWorker([&] {
            return runner->executeCommand(postGenerationCommand(details, scriptFolder + QStringLiteral("/post_gen.sh")));
        });
        QCOMPARE(post, bracketed({QStringLiteral("17.0"), QStringLiteral("Orbit"), QStringLiteral("n"), QStringLiteral("y"),
                                  details.bundleIdentifier, QStringLiteral("NA"), details.projectRoot(),
                                  pods.join(QLatin1Char(' '))}));

        // The embedded terminal types the command into a shell; the carriage
        // return is its Return key.
        QString install = podInstallCommand(details, scriptFolder + QStringLiteral("/PodInstall.sh"), QStringLiteral("03/02/2025"));
        QVERIFY(install.endsWith(QLatin1Char('\r')));
        install.chop(1);
        QCOMPARE(fixture::runInShell(install),
                 bracketed({details.projectRoot(), author.trimmed(), organisation, QStringLiteral("03/02/2025"),
                            QStringLiteral("Orbit"), QStringLiteral("yes"), QStringLiteral("yes")}));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/pwned")));
    }

    void podReadiness()
    {
        QTemporaryDir work;
        const QString pods = work.filePath(QStringLiteral("Pods"));
        {
            ConsoleCapture console;
            QVERIFY(!arePodsInstalled(pods, {}));
            QCOMPARE(console.lines(), QStringList{QStringLiteral("Directory does not exist at ") + pods});
        }
        QFile plain(pods);
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(!arePodsInstalled(pods, {})); // a file is not the Pods folder
        QVERIFY(QFile::remove(pods));

        QVERIFY(QDir().mkpath(pods + QStringLiteral("/SwiftLint")));
        QVERIFY(arePodsInstalled(pods, {}));
        QVERIFY(arePodsInstalled(pods, {QStringLiteral("SwiftLint")}));
        QVERIFY(!arePodsInstalled(pods, {QStringLiteral("SwiftLint"), QStringLiteral("R.swift")}));
        QVERIFY(QDir().mkpath(pods + QStringLiteral("/R.swift")));
        QVERIFY(arePodsInstalled(pods, {QStringLiteral("SwiftLint"), QStringLiteral("R.swift")}));
        QVERIFY(QDir(pods + QStringLiteral("/SwiftLint")).removeRecursively());
        QVERIFY(!arePodsInstalled(pods, {QStringLiteral("SwiftLint"), QStringLiteral("R.swift")}));
    }

    void postGenerationWithTheShippedScript()
    {
        QTemporaryDir work;
        auto details = fixture::newProject(work.filePath(QStringLiteral("with space")));
        details.userSelectedModules = {module(QStringLiteral("AWSS3"), {QStringLiteral("AWSS3")})};
        QVERIFY(QDir().mkpath(details.projectRoot()));
        const ResourceBundle bundle(fixture::shippedBundle());
        const auto runner = fixture::fakeRunner();

        ConsoleCapture console;
        const GenerationStep step = onWorker([&] { return runPostGeneration(details, bundle, *runner); });
        QCOMPARE(step.outcome, GenerationStep::Outcome::done);
        QFile podfile(details.projectRoot() + QStringLiteral("/Podfile"));
        QVERIFY(podfile.open(QIODevice::ReadOnly));
        const QByteArray text = podfile.readAll();
        QVERIFY(text.contains("  # Default pods\n  pod 'SwiftLint'\n  pod 'R.swift'\n  pod 'AWSS3'\n"));
        QVERIFY(text.contains("pod 'OrbitSecrets'"));
        QVERIFY(console.lines().join(QLatin1Char('\n')).contains(QStringLiteral("post_gen: wrote")));

        // A pod name the script refuses: the step says so.
        details.userSelectedPods << QStringLiteral("Bad'Name");
        const GenerationStep refused = onWorker([&] { return runPostGeneration(details, bundle, *runner); });
        QCOMPARE(refused.outcome, GenerationStep::Outcome::failed);
        QVERIFY(refused.detail.contains(QStringLiteral("refusing pod name")));

        // Without the script: the Part's console line, recorded as the failure.
        QTemporaryDir empty;
        ConsoleCapture missing;
        const GenerationStep none = onWorker([&] { return runPostGeneration(details, ResourceBundle(empty.path()), *runner); });
        QCOMPARE(none.outcome, GenerationStep::Outcome::failed);
        QCOMPARE(none.detail, QStringLiteral("Failed to generate pod file..."));
        QVERIFY(missing.lines().contains(QStringLiteral("Failed to generate pod file...")));
    }

    void installPodsInTerminal()
    {
        // Where osascript is missing the runner runs the Terminal command with
        // bash itself, in this process's environment.
        QTemporaryDir work;
        qputenv("PATH", (fixture::fakeToolchain() + QLatin1Char(':')).toUtf8() + qgetenv("PATH"));
        auto details = fixture::newProject(work.filePath(QStringLiteral("Apps ü")));
        details.projectType = ProjectType::existing;
        QVERIFY(QDir().mkpath(details.projectRoot() + QStringLiteral("/Orbit.xcodeproj")));
        QFile podfile(details.projectRoot() + QStringLiteral("/Podfile"));
        QVERIFY(podfile.open(QIODevice::WriteOnly));
        podfile.write("target 'Orbit' do\n  # Default pods\n  pod 'SwiftLint'\n  pod 'R.swift'\n\nend\n");
        podfile.close();
        const ResourceBundle bundle(fixture::shippedBundle());
        const auto runner = fixture::fakeRunner();

        QVERIFY(onWorker([&] { return installPods(details, bundle, *runner); }));
        QVERIFY(arePodsInstalled(podsDirectoryPath(details), details.userSelectedPods));
        QVERIFY(QFileInfo(details.projectRoot() + QStringLiteral("/Orbit.xcworkspace")).isDir());

        QTemporaryDir empty;
        QVERIFY(!onWorker([&] { return installPods(details, ResourceBundle(empty.path()), *runner); }));
        ConsoleCapture console;
        QCOMPARE(podInstallCommand(details, ResourceBundle(empty.path())), QString());
        QCOMPARE(console.lines().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPodInstallation)
#include "TestPodInstallation.moc"
