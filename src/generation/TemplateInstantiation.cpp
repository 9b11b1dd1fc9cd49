#include "generation/TemplateInstantiation.h"

#include "app/DebugConsole.h"
#include "app/TextCatalog.h"
#include "generation/AtomicFile.h"
#include "generation/SafeFileOperations.h"
#include "generation/SecretsIntegration.h"
#include "generation/Utf8TextFile.h"

#include <QSet>
#include <QUrl>

#include <vector>

namespace plinth {

namespace {

using fileops::DirectoryEntry;
using fileops::EntryKind;

const QString testsMarker = QStringLiteral("Tests");

bool isTestsName(const QString &name)
{
    return name.contains(testsMarker);
}

QString urlDescription(const QByteArray &path)
{
    return QString::fromUtf8(QUrl::fromLocalFile(fileops::displayPath(path)).toEncoded());
}

/// One walk over one root. Names are compared as UTF-8 bytes while walking,
/// so a file that needs nothing costs a directory entry and one read.
class Walker
{
public:
    Walker(const QByteArray &root, const InstantiationNames &names, const ProjectDetailsModel &details,
           const InstantiationScope &scope)
        : m_root(root)
        , m_names(names)
        , m_details(details)
        , m_scope(scope)
        , m_template(names.templateName.toUtf8())
        , m_product(names.productName.toUtf8())
        , m_secretsOfProduct((names.productName + QStringLiteral("Secrets")).toUtf8())
    {
        for (const QString &relative : scope.copiedFiles)
            m_copiedFiles.insert(fileops::nativePath(relative));
    }

    InstantiationResult run()
    {
        std::vector<DirectoryEntry> entries;
        QString error;
        if (!fileops::listDirectory(m_root, entries, &error)) {
            debugConsole(error);
            return m_result;
        }
        m_result.rootListed = true;
        walk(m_root, entries);
        // A folder was collected before everything below it, so going
        // backwards renames each one before its parent.
        for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
            rename(*folder);
        return m_result;
    }

private:
    void walk(const QByteArray &folder, const std::vector<DirectoryEntry> &entries)
    {
        for (const DirectoryEntry &entry : entries) {
            const QByteArray path = folder + '/' + entry.name;
            if (entry.name == ".DS_Store" || entry.name == "UserInterfaceState.xcuserstate") {
                debugConsole(text(key::skippingIgnoreFile, fileops::displayPath(path)));
                if (entry.kind == EntryKind::directory)
                    descend(path);
                continue;
            }
            switch (entry.kind) {
            case EntryKind::directory:
                if (!m_scope.existingProject)
                    m_folders.push_back(path);
                descend(path);
                break;
            case EntryKind::symlink:
                // Neither followed nor rewritten; in a new project a link named
                // after the template is renamed like any other item.
                if (!m_scope.existingProject)
                    rename(path);
                break;
            case EntryKind::other:
                break; // sockets, pipes, devices: never opened
            case EntryKind::unknown:
                debugConsole(QStringLiteral("Error getting isDirectory: ") + fileops::displayPath(path));
                [[fallthrough]];
            case EntryKind::file:
                visitFile(path, entry.name);
                break;
            }
        }
    }

    void descend(const QByteArray &folder)
    {
        std::vector<DirectoryEntry> entries;
        QString error;
        if (!fileops::listDirectory(folder, entries, &error)) {
            debugConsole(error);
            ++m_result.failures;
            return;
        }
        walk(folder, entries);
    }

    void visitFile(const QByteArray &path, const QByteArray &name)
    {
        ++m_result.filesVisited;
        if (m_scope.existingProject && !m_copiedFiles.contains(path.mid(m_root.size() + 1)))
            return; // the user's own file
        updateContent(path, name);
        if (name.contains("arkana.yml") || name.contains("AppSecrets.swift") || name.contains("Constants.swift")
            || name.contains("SceneDelegate.swift")) {
            if (!updateSecretsFiles(fileops::displayPath(path), m_details))
                ++m_result.failures;
        }
        if (!m_scope.existingProject)
            rename(path);
    }

    void updateContent(const QByteArray &path, const QByteArray &name)
    {
        const bool testsRule = !m_scope.existingProject;
        std::vector<QByteArray> needles{m_template};
        if (testsRule && name.contains("Tests"))
            needles.push_back(m_product);
        if (m_names.productName != m_names.underscoredName)
            needles.push_back(m_secretsOfProduct);

        bool found = false;
        bool complete = false;
        QString error;
        if (!fileops::findInFile(path, needles, m_buffer, found, complete, &error)
            || (found && !complete && !fileops::readRegularFile(path, m_buffer, &error))) {
            debugConsole(QStringLiteral("ERROR READING: ") + urlDescription(path));
            ++m_result.failures;
            return;
        }
        if (!found)
            return;
        const auto original = decodeUtf8Exactly(m_buffer);
        if (!original) {
            debugConsole(QStringLiteral("ERROR READING: ") + urlDescription(path));
            ++m_result.filesNotText;
            return;
        }
        const QString fileName = fileops::displayPath(name);
        const QString updated = rewriteContent(*original, fileName, m_names, testsRule);
        if (updated == *original)
            return;
        // A new project's files are copies made moments ago; waiting for the
        // disk on each of them would dominate the run. A user's files are
        // synced before they replace the old ones.
        const auto durability = m_scope.existingProject ? WriteDurability::synced : WriteDurability::unsynced;
        if (!writeTextFileAtomically(fileops::displayPath(path), updated, &error, durability)) {
            debugConsole(QStringLiteral("Error while updating an content"));
            ++m_result.failures;
            return;
        }
        ++m_result.filesRewritten;
    }

    void rename(const QByteArray &path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        const QByteArray name = path.mid(slash + 1);
        if (!name.contains(m_template))
            return;
        if (fileops::nativePath(fileops::displayPath(name)) != name) {
            // A name that is not UTF-8 cannot be rewritten without changing
            // its other bytes.
            debugConsole(QStringLiteral("Error while renaming content: not a UTF-8 name: ")
                         + fileops::displayPath(path));
            ++m_result.failures;
            return;
        }
        const QByteArray renamed = fileops::nativePath(renamedItemName(fileops::displayPath(name), m_names));
        QString error;
        if (!fileops::renameWithoutReplacing(path, path.left(slash + 1) + renamed, &error)) {
            debugConsole(QStringLiteral("Error while renaming content: ") + error);
            ++m_result.failures;
            return;
        }
        ++m_result.itemsRenamed;
    }

    const QByteArray m_root;
    const InstantiationNames m_names;
    const ProjectDetailsModel &m_details;
    const InstantiationScope &m_scope;
    const QByteArray m_template;
    const QByteArray m_product;
    const QByteArray m_secretsOfProduct;
    QSet<QByteArray> m_copiedFiles;
    std::vector<QByteArray> m_folders;
    QByteArray m_buffer;
    InstantiationResult m_result;
};

} // namespace

InstantiationNames InstantiationNames::of(const QString &templateName, const QString &productName)
{
    QString underscored = productName;
    underscored.replace(QLatin1Char(' '), QLatin1Char('_'));
    return {templateName, productName, underscored};
}

QString rewriteLine(const QString &line, const QString &fileName, const InstantiationNames &names, bool testsRule)
{
    QString result = line;
    if (result.contains(QStringLiteral("Secrets")) || result.contains(QStringLiteral("SecretInterfaces")))
        result.replace(names.productName + QStringLiteral("Secrets"), names.underscoredName + QStringLiteral("Secrets"));
    if (testsRule && isTestsName(fileName) && !result.contains(QStringLiteral("@testable")) && !names.productName.isEmpty())
        result.replace(names.productName, names.underscoredName + testsMarker);
    return result;
}

QString rewriteContent(const QString &text, const QString &fileName, const InstantiationNames &names, bool testsRule)
{
    if (names.templateName.isEmpty() || names.productName.isEmpty())
        return text;
    const bool underscoredHere = isTestsName(fileName) || fileName.contains(QStringLiteral(".pbxproj"));
    QString result = text;
    result.replace(names.templateName, underscoredHere ? names.underscoredName : names.productName);

    // Splitting and joining at line feeds changes nothing by itself, so the
    // lines are only visited when one of the line rules can apply.
    const bool secretsRule = names.productName != names.underscoredName
                             && result.contains(names.productName + QStringLiteral("Secrets"));
    const bool testsLines = testsRule && isTestsName(fileName) && result.contains(names.productName);
    if (!secretsRule && !testsLines)
        return result;
    QStringList lines = result.split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = rewriteLine(line, fileName, names, testsRule);
    return lines.join(QLatin1Char('\n'));
}

QString renamedItemName(const QString &name, const InstantiationNames &names)
{
    if (names.templateName.isEmpty() || !name.contains(names.templateName))
        return name;
    QString renamed = name;
    return renamed.replace(names.templateName, isTestsName(name) ? names.underscoredName : names.productName);
}

InstantiationResult instantiateTemplate(const QString &projectRoot, const QString &templateName,
                                        const ProjectDetailsModel &details, const InstantiationScope &scope)
{
    if (projectRoot.isEmpty() || templateName.isEmpty() || details.projectName.isEmpty()) {
        debugConsole(QStringLiteral("Template walk not run: the project root, template name or product name is empty"));
        return {};
    }
    QByteArray root = fileops::nativePath(projectRoot);
    while (root.size() > 1 && root.endsWith('/'))
        root.chop(1);
    Walker walker(root, InstantiationNames::of(templateName, details.projectName), details, scope);
    return walker.run();
}

InstantiationResult instantiateTemplate(const QString &projectRoot, const QString &templateName)
{
    return instantiateTemplate(projectRoot, templateName, currentProjectDetails());
}

} // namespace plinth
