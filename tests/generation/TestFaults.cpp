#include "generation/GenerationFixture.h"
#include "generation/ReadOnlyFolder.h"
#include "generation/SecretsIntegration.h"
#include "tools/TestFiles.h"

#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>
#include <unistd.h>

#include <memory>
#include <optional>

using namespace plinth;
using Outcome = GenerationStep::Outcome;
using plinth::test::readFile;
using plinth::test::writeFile;

namespace {

using enum GenerationStepKind;

/// A small tmpfs mounted at `path` while alive (root only).
class Tmpfs
{
public:
    Tmpfs(const QString &path, const QByteArray &size) : m_path(QFile::encodeName(path))
    {
        QDir().mkpath(path);
        m_mounted = ::geteuid() == 0
                    && ::mount("tmpfs", m_path.constData(), "tmpfs", 0, ("size=" + size).constData()) == 0;
    }
    ~Tmpfs()
    {
        if (m_mounted)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    Tmpfs(const Tmpfs &) = delete;
    Tmpfs &operator=(const Tmpfs &) = delete;
    bool isMounted() const { return m_mounted; }

private:
    QByteArray m_path;
    bool m_mounted = false;
};

/// Fills the file system of `folder` until at most `leave` bytes are free.
void fill(const QString &folder, qint64 leave)
{
    QFile filler(folder + QStringLiteral("/.filler"));
    filler.open(QIODevice::WriteOnly);
    const QByteArray block(4096, 'f');
    while (QStorageInfo(folder).bytesFree() > leave && filler.write(block) == block.size())
        filler.flush();
}

/// The first failed step of a run. (The view model and the generation screen
/// show it: TestProjectSetupViewModel, TestGenerationScreen.)
std::optional<GenerationStep> firstFailure(const QList<GenerationStep> &steps)
{
    for (const GenerationStep &step : steps) {
        if (step.outcome == Outcome::failed)
            return step;
    }
    return std::nullopt;
}

/// The files of `before` that are gone from `after`, or lost a line or had
/// one changed (a file edited in place only gains lines), unless they are
/// allowed to change.
QStringList lostFiles(const QMap<QString, QByteArray> &before, const QMap<QString, QByteArray> &after,
                      const QStringList &mayChange = {})
{
    QStringList lost;
    for (auto file = before.begin(); file != before.end(); ++file) {
        const QByteArray now = after.value(file.key());
        const bool keepsEveryLine = now == file.value() || test::lineChanges(file.value(), now).removed.isEmpty();
        if (mayChange.contains(file.key()) || (after.contains(file.key()) && keepsEveryLine))
            continue;
        lost << file.key();
    }
    return lost;
}

/// The user's existing project: one made by the new-project run, with work
/// of the user's own in it.
ProjectDetailsModel existingProject(const QString &folder, const ResourceBundle &bundle)
{
    auto details = fixture::newProject(folder, QStringLiteral("Shop"));
    fixture::runGeneration(details, bundle, *fixture::fakeRunner());
    const QString root = details.projectRoot();
    for (const auto &[name, bytes] : {std::pair{"/Shop/Feature/Checkout.swift", "// the user's own\n"},
                                      {"/.arkana.yml", "environments:\n  - Mine\n# my own keys\n"},
                                      {"/.env", "export APIKey=my-real-key\n"}})
        writeFile(root + QLatin1String(name), bytes);
    details.projectType = ProjectType::existing;
    details.userSelectedModules = {fixture::catalogEntry(QStringLiteral("Network layer")),
                                   fixture::catalogEntry(QStringLiteral("Adaptive layout"))};
    details.userSelectedPods = {QStringLiteral("SwiftLint")};
    return details;
}

/// Leftovers of an interrupted write: temporary files and staging folders.
QStringList leftovers(const QString &root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    static const QRegularExpression temporary(QStringLiteral("(\\.[A-Za-z0-9]{6}$)|^\\.plinth-arkana-"));
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if ((temporary.match(name).hasMatch() || name.contains(QLatin1String(".plinth-"))) && !name.endsWith(QLatin1String(".swift"))
            && !name.endsWith(QLatin1String(".backup")) && name != QLatin1String(".filler"))
            found << it.filePath();
    }
    return found;
}

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

    ResourceBundle m_shipped{fixture::shippedBundle()};
    std::shared_ptr<CommandRunner> m_runner = fixture::fakeRunner();

private slots:
    // The destination turns read-only half way through the run (lockAfter
    // set), or its file system fills up (size set): at several points of a
    // new project, and for an existing project's modules and Arkana files.
    void faultHalfWay_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<int>("lockAfter"); // a GenerationStepKind, or -1
        QTest::addColumn<QString>("locked"); // relative to the project root
        QTest::addColumn<QByteArray>("size"); // of the tmpfs the run writes to
        QTest::addColumn<qint64>("leave");    // bytes left free before the run; -1: all
        const auto lock = [](const char *row, bool existing, GenerationStepKind after, const char *folder) {
            QTest::newRow(row) << existing << int(after) << QString(folder) << QByteArray() << qint64(-1);
        };
        const auto disk = [](const char *row, bool existing, const char *size, qint64 leave) {
            QTest::newRow(row) << existing << -1 << QString() << QByteArray(size) << leave;
        };
        lock("new project, root locked after the template copy", false, templateCopy, "");
        lock("new project, app folder locked after the template copy", false, templateCopy, "Shop");
        lock("new project, root locked after project.yml", false, xcodeGenSpecification, "");
        lock("existing project, root locked after the Podfile", true, postGeneration, "");
        lock("existing project, app folder locked after the Arkana files", true, arkanaFiles, "Shop");
        for (const char *size : {"32k", "64k", "96k", "128k"})
            disk(qPrintable(QStringLiteral("new project, %1 disk").arg(size)), false, size, -1);
        disk("existing project, nothing free", true, "4m", 0);
        disk("existing project, 8 KiB free", true, "4m", 8192);
        disk("existing project, 4 KiB free", true, "4m", 4096);
    }

    void faultHalfWay()
    {
        QFETCH(bool, existing);
        QFETCH(int, lockAfter);
        QFETCH(QString, locked);
        QFETCH(QByteArray, size);
        QFETCH(qint64, leave);
        QTemporaryDir work;
        std::optional<Tmpfs> disk;
        if (!size.isEmpty() && !disk.emplace(work.filePath("disk"), size).isMounted())
            QSKIP("a tmpfs cannot be mounted here (needs root and mount permission)");
        const QString folder = size.isEmpty() ? work.path() : work.filePath("disk");
        QVERIFY(writeFile(folder + "/Sibling/keep.txt", "the user's\n"));
        auto details = existing ? existingProject(folder + "/Projects", m_shipped)
                                : fixture::newProject(folder + "/Projects", "Shop");
        const QString root = details.projectRoot();
        if (leave >= 0)
            fill(folder, leave);
        const auto before = fixture::files(folder);

        std::unique_ptr<ReadOnlyFolder> lock;
        const auto steps = fixture::runGeneration(details, m_shipped, *m_runner, [&](const GenerationStep &step) {
            if (int(step.kind) == lockAfter && !lock)
                lock = std::make_unique<ReadOnlyFolder>(root + QLatin1Char('/') + locked);
        });
        QCOMPARE(bool(lock), lockAfter >= 0);
        if (lock && !lock->isLocked())
            QSKIP("the folder cannot be made read-only here (chattr or chmod refused)");
        // Every step recorded, one failed saying why.
        QCOMPARE(steps.size(), existing ? 6 : 7);
        const std::optional<GenerationStep> failure = firstFailure(steps);
        const auto after = fixture::files(folder);
        lock.reset();

        QVERIFY2(failure, "the fault is reported as a failed step");
        const QString why = failure->title() + ": " + failure->detail;
        if (lockAfter >= 0)
            QVERIFY2(why.contains("ermission") || why.contains("not permitted") || why.contains("ead-only"), qPrintable(why));
        else // XcodeGen's own output is its reason (the fake one does not say).
            QVERIFY2(why.contains("No space left on device") || failure->kind == xcodeGen, qPrintable(why));
        const QStringList lost = lostFiles(before, after, {QStringLiteral("Projects/Shop/Podfile"),
                                                           QStringLiteral("Projects/Shop/Shop.xcodeproj/project.pbxproj")});
        QVERIFY2(lost.isEmpty(), qPrintable(lost.join(", ")));
        QVERIFY2(leftovers(folder).isEmpty(), qPrintable(leftovers(folder).join(", ")));
        if (existing) {
            // The user's .arkana.yml is as it was or wholly extended (its
            // lines kept: lostFiles); a module is either wholly there or not
            // at all.
            const QByteArray arkana = after.value("Projects/Shop/.arkana.yml");
            QVERIFY2(arkana == before.value("Projects/Shop/.arkana.yml")
                         || (arkana.contains("global_secrets:\n") && arkana.contains("environment_secrets:\n")),
                     arkana.constData());
            const QString module = root + "/Shop/NetworkLayer";
            QVERIFY(!QFileInfo::exists(module)
                    || fixture::files(module) == fixture::files(m_shipped.path("SwiftUIBaseSetup") + "/SwiftUIBaseSetup/NetworkLayer"));
        }
        // No step claims work that is not there.
        for (const GenerationStep &step : steps) {
            if (step.outcome != Outcome::done)
                continue;
            if (step.kind == moduleCopy)
                QVERIFY2(QFileInfo(root + "/Shop/" + fixture::catalogEntry(step.subject).directoryName).isDir(), qPrintable(step.subject));
            if (step.kind == xcodeGen)
                QVERIFY(QFileInfo(root + "/Shop.xcodeproj").isDir());
            if (step.kind == postGeneration)
                QVERIFY(after.value("Projects/Shop/Podfile").startsWith("platform :ios"));
        }
        // Once writable again, a second run completes the project.
        if (existing && lockAfter >= 0) {
            for (const GenerationStep &step : fixture::runGeneration(details, m_shipped, *m_runner))
                QVERIFY2(step.outcome == Outcome::done, qPrintable(step.title() + ": " + step.detail));
        }
    }

    // The rewrite of a user's .arkana.yml on a full disk: the file stays
    // exactly as it was, never half written. (In faultHalfWay() the disk is
    // full before the Arkana step reaches the user's file.)
    void secretsRewriteOnFullDisk()
    {
        QTemporaryDir work;
        const Tmpfs disk(work.filePath("disk"), "1m");
        if (!disk.isMounted())
            QSKIP("a tmpfs cannot be mounted here (needs root and mount permission)");
        const QString path = work.filePath("disk/.arkana.yml");
        const QByteArray content = "import_name: 'ShopSecrets'\nenvironments:\n  - Mine\n"
                                   "global_secrets:\n  - Key\nenvironment_secrets:\n  - Api\n"
                                   + QByteArray(20000, '#') + "\n";
        QVERIFY(writeFile(path, content));
        fill(work.filePath("disk"), 0);
        QVERIFY(!updateSecretsFiles(path, fixture::newProject(work.filePath("disk"), "Shop")));
        QCOMPARE(readFile(path), content);
        QVERIFY2(leftovers(work.filePath("disk")).isEmpty(), qPrintable(leftovers(work.filePath("disk")).join(", ")));
    }

    // A resource bundle that lacks a template, a folder of it or one file.
    void missingTemplateResource_data()
    {
        QTest::addColumn<QString>("removed"); // relative to the bundle
        QTest::addColumn<QString>("named");   // what the failure names
        QTest::newRow("whole template") << "SwiftUIBaseSetup" << "SwiftUIBaseSetup is missing";
        QTest::newRow("one file") << "SwiftUIBaseSetup/SwiftUIBaseSetup/AppSecrets.swift" << "SwiftUIBaseSetup/AppSecrets.swift";
    }

    void missingTemplateResource()
    {
        QFETCH(QString, removed);
        QFETCH(QString, named);
        QTemporaryDir work;
        const QString bundleRoot = work.filePath("bundle");
        QCOMPARE(QProcess::execute("cp", {"-R", m_shipped.root(), bundleRoot}), 0);
        QVERIFY(QFileInfo(bundleRoot + "/SwiftUIBaseSetup.files").isFile());
        QCOMPARE(QProcess::execute("rm", {"-r", bundleRoot + '/' + removed}), 0);
        const auto details = fixture::newProject(work.filePath("Projects"), "Shop");
        const auto failure = firstFailure(fixture::runGeneration(details, ResourceBundle(bundleRoot), *m_runner));
        QVERIFY(failure);
        QCOMPARE(failure->kind, templateCopy);
        QVERIFY2(failure->detail.contains(named), qPrintable(failure->detail));
    }
};

QTEST_GUILESS_MAIN(TestFaults)
#include "TestFaults.moc"
