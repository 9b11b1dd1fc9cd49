// Times template instantiation and the walk over a large project tree against
// the tools that bound them from below and from the side:
//
//   1. instantiation (copy stage + walk) of a generated template, against
//      `cp -r` of the same template (the floor) and against cookiecutter
//      rendering an equivalent template;
//   2. the whole new-project generation run (folders, project.yml, copy,
//      XcodeGen, the shipped post_gen.sh, walk) with a fake XcodeGen that
//      returns at once, against the same two;
//   3. the walk over a large generated tree (about 20,000 files, 250 MB, text
//      and binary, a Pods and a .git folder, links), with the rules of a new
//      project and with those of an existing one, against `grep -rF <template
//      name>` over the same tree; the walk must write nothing there.
//
// Usage: plinth_bench [work folder]   (default: a temporary folder)
// Every tree is generated from a fixed seed, so runs compare.

#include "app/base/ResourceBundle.h"
#include "generation/GenerationRun.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "toolchain/CommandRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include <unistd.h>

using namespace plinth;

namespace {

const QString templateName = QStringLiteral("SwiftUIBaseSetup");
const QString productName = QStringLiteral("Orbit");
const QString cookiecutterName = QStringLiteral("{{cookiecutter.project_name}}");
constexpr int repetitions = 5;

/// xorshift64: the same numbers on every platform.
class Random
{
public:
    quint64 next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return m_state;
    }
    int below(int bound) { return int(next() % quint64(bound)); }

private:
    quint64 m_state = 0x9E3779B97F4A7C15ull;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray binaryBytes(Random &random, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; i += 8) {
        const quint64 value = random.next();
        std::memcpy(bytes.data() + i, &value, size_t(std::min(8, size - i)));
    }
    bytes[0] = char(0x89); // never valid UTF-8
    return bytes;
}

// Swift-like text of about `size` bytes; `name` (when given) appears in about
// one line in eight.
QByteArray textBytes(Random &random, int size, const QByteArray &name)
{
    QByteArray text;
    text.reserve(size + 100);
    int line = 0;
    while (text.size() < size) {
        if (!name.isEmpty() && random.below(8) == 0)
            text += "    let view" + QByteArray::number(line) + " = " + name + "View(title: \"" + name + "\")\n";
        else
            text += "    func compute" + QByteArray::number(line) + "(value: Int) -> Int { return value * "
                    + QByteArray::number(random.below(1000)) + " + " + QByteArray::number(line) + " }\n";
        ++line;
    }
    return text;
}

/// One template, written twice: as Plinth's resource (names and texts carry
/// the template name) and as a cookiecutter template (the same places carry
/// the cookiecutter variable). Returns the number of files.
int generateTemplate(const QString &bundleRoot, const QString &cookiecutterRoot)
{
    Random random;
    int files = 0;
    const auto add = [&](const QString &relative, const QByteArray &bytes, bool text) {
        QString plinthPath = relative;
        plinthPath.replace(QStringLiteral("@"), templateName);
        QString cookiePath = relative;
        cookiePath.replace(QStringLiteral("@"), cookiecutterName);
        QByteArray plinthBytes = bytes;
        QByteArray cookieBytes = bytes;
        if (text) {
            plinthBytes.replace("@", templateName.toUtf8());
            cookieBytes.replace("@", cookiecutterName.toUtf8());
        }
        writeFile(bundleRoot + QStringLiteral("/@/").replace(QLatin1Char('@'), templateName) + plinthPath, plinthBytes);
        writeFile(cookiecutterRoot + QLatin1Char('/') + cookiecutterName + QLatin1Char('/') + cookiePath, cookieBytes);
        ++files;
    };
    add(QStringLiteral("Gemfile"), "source \"https://rubygems.org\"\ngem \"arkana\"\n", true);
    add(QStringLiteral("README.md"), "# @\n\nMade from the @ template.\n", true);
    add(QStringLiteral(".swiftlint.yml"), "disabled_rules:\n  - line_length\n", true);
    const QStringList groups{QStringLiteral("Features"), QStringLiteral("Network"), QStringLiteral("Models"),
                             QStringLiteral("Views/@Screens"), QStringLiteral("Helpers"), QStringLiteral("Storage")};
    for (int i = 0; i < 480; ++i) {
        const QString group = groups.at(i % groups.size());
        const QString folder = QStringLiteral("@/") + group + QStringLiteral("/Part%1").arg(i % 12);
        const bool named = i % 3 == 0;
        const QString file = folder + (named ? QStringLiteral("/@Item%1.swift") : QStringLiteral("/Item%1.swift")).arg(i);
        add(file, textBytes(random, 1500 + random.below(6000), i % 2 ? QByteArray("@") : QByteArray()), true);
    }
    for (int i = 0; i < 60; ++i)
        add(QStringLiteral("@/Assets.xcassets/Image%1.imageset/image%1.png").arg(i),
             binaryBytes(random, 8000 + random.below(60000)), false);
    for (int i = 0; i < 40; ++i)
        add(QStringLiteral("@Tests/@Tests%1.swift").arg(i),
             "import XCTest\n@testable import @\n\nfinal class @Tests" + QByteArray::number(i)
                 + ": XCTestCase {}\n" + textBytes(random, 2000, QByteArray()),
             true);
    for (int i = 0; i < 20; ++i)
        add(QStringLiteral("@UITests/@UITests%1.swift").arg(i),
             "import XCTest\n\nfinal class @UITests" + QByteArray::number(i) + ": XCTestCase {}\n", true);
    writeFile(cookiecutterRoot + QStringLiteral("/cookiecutter.json"), "{\"project_name\": \"SwiftUIBaseSetup\"}\n");
    return files;
}

/// The large tree of an existing project. None of its files holds the
/// template name, so a correct walk writes nothing.
QPair<int, qint64> generateLargeTree(const QString &root)
{
    Random random;
    int files = 0;
    qint64 bytes = 0;
    const auto add = [&](const QString &relative, const QByteArray &content) {
        writeFile(root + QLatin1Char('/') + relative, content);
        ++files;
        bytes += content.size();
    };
    for (int i = 0; i < 9000; ++i)
        add(QStringLiteral("Shop/Module%1/Sub%2/Source%3.swift").arg(i % 40).arg(i % 7).arg(i),
             textBytes(random, 2000 + random.below(12000), QByteArray()));
    for (int i = 0; i < 1000; ++i)
        add(QStringLiteral("ShopTests/Case%1/ShopTests%2.swift").arg(i % 20).arg(i),
             textBytes(random, 3000 + random.below(4000), QByteArray()));
    for (int i = 0; i < 4000; ++i)
        add(QStringLiteral("Pods/Pod%1/Sources/File%2.m").arg(i % 60).arg(i),
             textBytes(random, 2000 + random.below(10000), QByteArray()));
    for (int i = 0; i < 3000; ++i)
        add(QStringLiteral("Shop/Assets.xcassets/Image%1.imageset/image%1.png").arg(i),
             binaryBytes(random, 10000 + random.below(80000)));
    for (int i = 0; i < 3000; ++i)
        add(QStringLiteral(".git/objects/%1/%2").arg(i % 256, 2, 16, QLatin1Char('0')).arg(i),
             binaryBytes(random, 5000 + random.below(20000)));
    QFile::link(root + QStringLiteral("/Shop/Module1"), root + QStringLiteral("/Shop/LinkedModule"));
    QFile::link(QStringLiteral("/etc/hostname"), root + QStringLiteral("/Shop/outside.txt"));
    QFile::link(root + QStringLiteral("/Pods"), root + QStringLiteral("/PodsLink"));
    return {files, bytes};
}

qint64 runTool(const QString &program, const QStringList &arguments, const QString &directory = {})
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(directory);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start();
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        qFatal("%s did not finish", qPrintable(program));
    const qint64 elapsed = timer.nsecsElapsed();
    if (process.exitCode() > 1) // grep answers 1 for "no match"
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return elapsed;
}

/// The median of `repetitions` runs of `body`, each after `prepare` (untimed).
double medianMilliseconds(const std::function<qint64()> &body, const std::function<void()> &prepare = {})
{
    std::vector<qint64> samples;
    for (int i = 0; i < repetitions; ++i) {
        if (prepare)
            prepare();
        samples.push_back(body());
    }
    std::sort(samples.begin(), samples.end());
    return double(samples[samples.size() / 2]) / 1e6;
}

qint64 timed(const std::function<void()> &body)
{
    QElapsedTimer timer;
    timer.start();
    body();
    return timer.nsecsElapsed();
}

/// `body` on a thread of its own (the runner's calls block), waited for.
void onThread(const std::function<void()> &body)
{
    const std::unique_ptr<QThread> thread(QThread::create(body));
    thread->start();
    thread->wait();
}

void print(QTextStream &out, const QString &what, double milliseconds, double reference)
{
    out << "| " << what << " | " << QString::number(milliseconds, 'f', 1) << " | "
        << QString::number(milliseconds / reference, 'f', 2) << "× |\n";
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir temporary;
    const QString work = argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath() : temporary.path();
    QDir(work).removeRecursively();
    QDir().mkpath(work);

    const QString bundleRoot = work + QStringLiteral("/bundle");
    const QString cookiecutterTemplate = work + QStringLiteral("/cookiecutter-template");
    const int templateFiles = generateTemplate(bundleRoot, cookiecutterTemplate);
    const QString output = work + QStringLiteral("/out");
    const auto clearOutput = [&] {
        QDir(output).removeRecursively();
        QDir().mkpath(output);
        ::sync(); // no write-back of the previous run during the next
    };

    ProjectDetailsModel details;
    details.projectName = productName;
    details.projectPath = output;
    details.doesIncludeAWS = true;
    details.doesIncludeBLE = true;
    details.configVariant = {{QStringLiteral("Development"), true}, {QStringLiteral("UAT"), true}};
    const ResourceBundle bundle(bundleRoot);
    int rewritten = 0;
    int renamed = 0;

    const double copyFloor = medianMilliseconds(
        [&] { return runTool(QStringLiteral("cp"), {QStringLiteral("-r"), bundleRoot + QLatin1Char('/') + templateName, output + QStringLiteral("/copy")}); },
        clearOutput);
    const double plinth = medianMilliseconds(
        [&] {
            return timed([&] {
                const QString root = details.projectRoot();
                for (const QString &suffix : {QString(), QStringLiteral("Tests"), QStringLiteral("UITests")})
                    QDir().mkpath(root + QLatin1Char('/') + productName + suffix);
                copyTemplate(templateName, root, details, bundle);
                const InstantiationResult result = instantiateTemplate(root, templateName, details);
                rewritten = result.filesRewritten;
                renamed = result.itemsRenamed;
            });
        },
        clearOutput);
    // The whole run, as the generation screen makes it, with an XcodeGen that
    // returns at once and the post_gen.sh that ships.
    const QString instantTools = work + QStringLiteral("/instant-toolchain");
    writeFile(instantTools + QStringLiteral("/xcodegen"), "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(instantTools + QStringLiteral("/xcodegen"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(QStringLiteral(PLINTH_SOURCE_DIR "/resources/post_gen.sh"), bundleRoot + QStringLiteral("/post_gen.sh"));
    CommandRunner instantRunner;
    instantRunner.setToolchainSearchPath(instantTools + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));
    ProjectDetailsModel newProject = details;
    newProject.projectType = ProjectType::new_;
    newProject.minimumDeploymentTarget = QStringLiteral("17.0");
    newProject.bundleIdentifier = QStringLiteral("com.tarnwick.Orbit");
    newProject.developmentSchemeName = QStringLiteral("Development");
    newProject.userSelectedPods = {QStringLiteral("SwiftLint"), QStringLiteral("R.swift")};
    int failedSteps = 0;
    const double generation = medianMilliseconds(
        [&] {
            return timed([&] {
                onThread([&] {
                    failedSteps = 0;
                    GenerationRun(newProject, bundle, instantRunner, [&](const GenerationStep &step) {
                        // The instant XcodeGen leaves no project; every other step must work.
                        if (step.outcome != GenerationStep::Outcome::done && step.kind != GenerationStepKind::xcodeGen)
                            ++failedSteps;
                    }).createNewProject();
                });
            });
        },
        clearOutput);
    if (failedSteps > 0)
        qFatal("the generation run failed %d steps", failedSteps);

    const QString cookiecutter = QStandardPaths::findExecutable(QStringLiteral("cookiecutter"));
    const double cookie = cookiecutter.isEmpty()
                              ? -1
                              : medianMilliseconds(
                                    [&] {
                                        return runTool(cookiecutter, {QStringLiteral("--no-input"), QStringLiteral("-o"), output,
                                                                      cookiecutterTemplate,
                                                                      QStringLiteral("project_name=") + productName});
                                    },
                                    clearOutput);

    out << "Template: " << templateFiles << " files; instantiation rewrote " << rewritten << " and renamed "
        << renamed << " items. Median of " << repetitions << " runs, warm cache.\n\n";
    out << "| Instantiation | ms | vs cp -r |\n|---|---:|---:|\n";
    print(out, QStringLiteral("`cp -r` (floor)"), copyFloor, copyFloor);
    print(out, QStringLiteral("Plinth: copy stage + walk"), plinth, copyFloor);
    print(out, QStringLiteral("Plinth: whole new-project generation (instant XcodeGen)"), generation, copyFloor);
    if (cookie >= 0)
        print(out, QStringLiteral("cookiecutter 1.7 (same template)"), cookie, copyFloor);
    else
        out << "| cookiecutter | not installed | |\n";
    out.flush();

    const QString tree = work + QStringLiteral("/large/Shop");
    const auto [treeFiles, treeBytes] = generateLargeTree(tree);
    ProjectDetailsModel shop = details;
    shop.projectName = QStringLiteral("Shop");
    InstantiationResult newRules;
    InstantiationResult existingRules;
    runTool(QStringLiteral("grep"), {QStringLiteral("-rF"), templateName, tree}); // warm the cache
    const double grep = medianMilliseconds(
        [&] { return runTool(QStringLiteral("grep"), {QStringLiteral("-rF"), templateName, tree}); });
    const double walkNew = medianMilliseconds(
        [&] { return timed([&] { newRules = instantiateTemplate(tree, templateName, shop); }); });
    const double walkExisting = medianMilliseconds([&] {
        return timed([&] {
            existingRules = instantiateTemplate(tree, templateName, shop, InstantiationScope::existing({}));
        });
    });

    out << "\nLarge tree: " << treeFiles << " files, " << treeBytes / (1024 * 1024) << " MiB, 3 links. Files written: "
        << newRules.filesRewritten + newRules.itemsRenamed << " (new-project rules), "
        << existingRules.filesRewritten + existingRules.itemsRenamed << " (existing-project rules).\n\n";
    out << "| Walk over the large tree | ms | vs grep |\n|---|---:|---:|\n";
    print(out, QStringLiteral("`grep -rF SwiftUIBaseSetup`"), grep, grep);
    print(out, QStringLiteral("Plinth walk, new-project rules (reads every file)"), walkNew, grep);
    print(out, QStringLiteral("Plinth walk, existing-project rules (Arkana step)"), walkExisting, grep);
    out.flush();

    const bool wroteNothing = newRules.filesRewritten + newRules.itemsRenamed + existingRules.filesRewritten
                                  + existingRules.itemsRenamed
                              == 0;
    return wroteNothing ? 0 : 1;
}
