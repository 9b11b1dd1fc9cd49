#pragma once

#include "app/base/ResourceBundle.h"
#include "app/base/TextCatalog.h"
#include "catalogs/ModuleCatalog.h"
#include "generation/GenerationRun.h"
#include "project/ProjectDetailsModel.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

/// What the generation tests share: the fake toolchain, runners that use it,
/// project descriptions and a way to read a whole tree back.
namespace fixture {

inline QString fakeToolchain()
{
    return QStringLiteral(PLINTH_FIXTURES_DIR "/fake-toolchain");
}

/// The resource bundle as the build ships it (templates and scripts).
inline QString shippedBundle()
{
    return QStringLiteral(PLINTH_BUILD_DIR "/share/plinth");
}

/// The committed tree that one fixed description over the small fixture
/// template generates.
inline QString goldenProject()
{
    return QStringLiteral(PLINTH_FIXTURES_DIR "/expected/golden-project");
}

/// Makes at `root` a resource bundle holding the small fixture template and
/// the shipped scripts, as the golden project is made from; returns `root`.
inline QString makeFixtureBundle(const QString &root)
{
    QDir().mkpath(root);
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), QStringLiteral(PLINTH_FIXTURES_DIR "/templates/SwiftUIBaseSetup"),
                                             root + QLatin1Char('/')});
    const plinth::ResourceBundle shipped(shippedBundle());
    for (const QString &script : {QStringLiteral("post_gen.sh"), QStringLiteral("PodInstall.sh"),
                                   QStringLiteral("LibraryPackages.json")})
        QFile::copy(shipped.path(script), root + QLatin1Char('/') + script);
    return root;
}

/// A runner whose commands find the fake xcodegen, pod and bundle first and
/// whose scripts find the fake ruby.
inline std::shared_ptr<plinth::CommandRunner> fakeRunner()
{
    plinth::Launchers launchers;
    launchers.scriptShell = fakeToolchain() + QStringLiteral("/script-shell");
    launchers.appleScript = QStringLiteral("/nonexistent/osascript"); // run the Terminal command with bash
    auto runner = std::make_shared<plinth::CommandRunner>(launchers);
    runner->setToolchainSearchPath(fakeToolchain() + QStringLiteral(":/usr/local/bin:/usr/bin:/bin"));
    return runner;
}

/// A new-project description for `projectPath`.
inline plinth::ProjectDetailsModel newProject(const QString &projectPath, const QString &name = QStringLiteral("Orbit"),
                                              bool uiKit = false)
{
    plinth::ProjectDetailsModel details;
    details.projectType = plinth::ProjectType::new_;
    details.projectName = name;
    details.projectPath = projectPath;
    details.organizationName = QStringLiteral("Tarnwick Labs");
    details.authorName = QStringLiteral("Ada Lovelace");
    details.bundleIdentifier = QStringLiteral("com.tarnwick.") + name;
    details.selectedUI = plinth::text(uiKit ? plinth::key::uiKit : plinth::key::swiftUi);
    details.minimumDeploymentTarget = QStringLiteral("17.0");
    details.developmentSchemeName = QStringLiteral("Development");
    details.configVariant = {{QStringLiteral("Development"), true}, {QStringLiteral("UAT"), true},
                             {QStringLiteral("Production"), true}};
    details.userSelectedPods = {QStringLiteral("SwiftLint"), QStringLiteral("R.swift")};
    details.doesIncludeArkana = true;
    return details;
}

/// The module catalog's entry titled `title`.
inline plinth::ListItem catalogEntry(const QString &title, bool uiKit = false)
{
    for (const plinth::ListItem &item : plinth::moduleCatalog(uiKit)) {
        if (item.title == title)
            return item;
    }
    return {};
}

/// Runs the generation on a worker thread and returns its records, handing
/// each to `after` as well.
inline QList<plinth::GenerationStep> runGeneration(const plinth::ProjectDetailsModel &details,
                                                   const plinth::ResourceBundle &bundle,
                                                   const plinth::CommandRunner &runner,
                                                   const std::function<void(const plinth::GenerationStep &)> &after = {})
{
    return onWorker([&] {
        QList<plinth::GenerationStep> steps;
        plinth::GenerationRun(details, bundle, runner, [&](const plinth::GenerationStep &step) {
            steps << step;
            if (after)
                after(step);
        }).generate();
        return steps;
    });
}

/// A copy at `root` (its parent folders made) of the project a team keeps,
/// not made by Plinth. False when it could not be made.
inline bool copyTeamProject(const QString &root)
{
    return QDir().mkpath(QFileInfo(root).path())
           && QProcess::execute(QStringLiteral("cp"),
                                {QStringLiteral("-R"), QStringLiteral(PLINTH_FIXTURES_DIR "/existing/orbit-ios"), root})
                  == 0;
}

/// Makes `root` a Git work tree with everything in it committed.
inline bool commitAll(const QString &root)
{
    const auto git = [&root](const QStringList &arguments) {
        return QProcess::execute(QStringLiteral("git"), QStringList{QStringLiteral("-C"), root, QStringLiteral("-c"),
                                                                    QStringLiteral("user.name=T"), QStringLiteral("-c"),
                                                                    QStringLiteral("user.email=t@example.com")}
                                                            + arguments);
    };
    return git({QStringLiteral("init"), QStringLiteral("-q")}) == 0
           && git({QStringLiteral("add"), QStringLiteral("-A")}) == 0
           && git({QStringLiteral("commit"), QStringLiteral("-qm"), QStringLiteral("start")}) == 0;
}

/// Every file below `root` (links and folders left out) with its bytes, by
/// path relative to `root`, hidden files included.
inline QMap<QString, QByteArray> files(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            tree.insert(QDir(root).relativeFilePath(path), file.readAll());
    }
    return tree;
}

/// files(root) with `root` written as /Users/dev/Projects, as in the golden
/// project.
inline QMap<QString, QByteArray> normalisedFiles(const QString &root)
{
    QMap<QString, QByteArray> tree = files(root);
    for (auto file = tree.begin(); file != tree.end(); ++file)
        file.value().replace(root.toUtf8(), "/Users/dev/Projects");
    return tree;
}

} // namespace fixture
