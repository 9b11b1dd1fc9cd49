// readProjectDescription over any JSON, with relative paths taken from a
// temporary folder that holds a destination and two existing projects: it
// never writes, a parse failure is one problem, and a description it calls
// valid is one the wizard's screens would accept.

#include "FuzzCheck.h"

#include "cli/ProjectDescription.h"
#include "generation/PodInstallation.h"
#include "project/BuildSettingsRules.h"
#include "project/ProjectNameRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace plinth;

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    FUZZ_CHECK(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QTemporaryDir &work()
{
    static QTemporaryDir folder;
    return folder;
}

/// Every entry below the folder, to show that reading wrote nothing.
QStringList listing()
{
    QStringList entries;
    QDirIterator it(work().path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << it.next();
    entries.sort();
    return entries;
}

void checkValid(const ProjectDetailsModel &details)
{
    static const QRegularExpression identifier(QStringLiteral("\\A[A-Za-z0-9-]+(\\.[A-Za-z0-9-]+)*\\z"));
    FUZZ_CHECK(!details.projectName.isEmpty());
    FUZZ_CHECK(QDir::isAbsolutePath(details.projectPath));
    FUZZ_CHECK(identifier.match(details.bundleIdentifier).hasMatch());
    for (const QString &pod : details.userSelectedPods)
        FUZZ_CHECK(isValidPodName(pod));
    QStringList labels;
    for (const CheckBoxItem &variant : details.configVariant) {
        FUZZ_CHECK(variantLabelProblem(variant.label, labels) == VariantLabelProblem::none);
        labels << variant.label;
    }
    if (details.projectType == ProjectType::new_) {
        FUZZ_CHECK(productNameMessageKey(details.projectName) == nullptr);
        FUZZ_CHECK(!labels.isEmpty());
        FUZZ_CHECK(details.userSelectedModules.isEmpty());
    }
    if (!labels.isEmpty())
        FUZZ_CHECK(labels.contains(details.developmentSchemeName));
}

} // namespace

// The problems quote the text catalog, which finds the resource bundle from
// the application's folder.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    FUZZ_CHECK(work().isValid());
    FUZZ_CHECK(QDir().mkpath(work().filePath(QStringLiteral("Projects"))));
    write(work().filePath(QStringLiteral("Kit/Kit.xcodeproj/project.pbxproj")), "//\n");
    write(work().filePath(QStringLiteral("Kit/Kit/AppDelegate.swift")), "import UIKit\n@main class AppDelegate {}\n");
    write(work().filePath(QStringLiteral("Shop/Shop.xcodeproj/project.pbxproj")), "//\n");
    write(work().filePath(QStringLiteral("Shop/Shop/ShopApp.swift")), "import SwiftUI\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QStringList before = listing();
    const QByteArray json(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const ProjectDescription description = readProjectDescription(json, work().path());

    for (const QString &problem : description.problems)
        FUZZ_CHECK(!problem.isEmpty());
    if (description.problems.size() == 1 && description.problems.first().startsWith(QLatin1String("not valid JSON")))
        FUZZ_CHECK(description.details.projectName.isEmpty());
    if (description.isValid())
        checkValid(description.details);
    FUZZ_CHECK(listing() == before);
    return 0;
}
