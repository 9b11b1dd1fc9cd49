#include "generation/TemplateInstantiation.h"

#include "app/base/DebugConsole.h"
#include "app/base/TextCatalog.h"
#include "generation/AtomicFile.h"
#include "generation/SafeFileOperations.h"
#include "generation/SecretsIntegration.h"
#include "generation/Utf8TextFile.h"
#include "generation/YamlScalar.h"
#include "project/ProjectNameRules.h"

#include <QSet>
#include <QUrl>

#include <algorithm>
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

/// Letters and digits of any script, combining marks and "_": what a Swift
/// identifier is made of. A surrogate counts, so that a character outside the
/// Basic Multilingual Plane never ends an identifier.
bool isIdentifierCharacter(QChar c)
{
    return c.isLetterOrNumber() || c.isMark() || c.isSurrogate() || c == QLatin1Char('_');
}

/// Whether the `length` characters at `position` of `text` stand alone,
/// within no longer identifier.
bool isWholeIdentifier(const QString &text, qsizetype position, qsizetype length)
{
    return (position == 0 || !isIdentifierCharacter(text.at(position - 1)))
           && (position + length >= text.size() || !isIdentifierCharacter(text.at(position + length)));
}

/// Where in a text the kept texts stand, as [start, end) pairs.
using Ranges = std::vector<std::pair<qsizetype, qsizetype>>;

Ranges keptRanges(const QString &text, const QStringList &kept)
{
    Ranges ranges;
    for (const QString &keptText : kept) {
        for (qsizetype at = text.indexOf(keptText); at >= 0; at = text.indexOf(keptText, at + 1))
            ranges.emplace_back(at, at + keptText.size());
    }
    return ranges;
}

bool overlaps(const Ranges &ranges, qsizetype position, qsizetype length)
{
    return std::any_of(ranges.begin(), ranges.end(), [&](const auto &range) {
        return position < range.second && range.first < position + length;
    });
}

/// `text` with each occurrence of the file name `before` that stands as a
/// name of its own (no letter, digit, "_", "." or "-" on either side) made
/// `after`.
QString replacedName(const QString &text, const QString &before, const QString &after)
{
    const auto isNameCharacter = [](QChar c) {
        return isIdentifierCharacter(c) || c == QLatin1Char('.') || c == QLatin1Char('-');
    };
    QString result = text;
    for (qsizetype at = result.indexOf(before); at >= 0 && !before.isEmpty(); at = result.indexOf(before, at)) {
        const qsizetype end = at + before.size();
        if ((at > 0 && isNameCharacter(result.at(at - 1))) || (end < result.size() && isNameCharacter(result.at(end)))) {
            ++at;
            continue;
        }
        result.replace(at, before.size(), after);
        at += after.size();
    }
    return result;
}

/// `text` with each `from` replaced by `to`, but for those that overlap one
/// of `kept`.
QString replacedOutside(const QString &text, const QString &from, const QString &to, const QStringList &kept)
{
    QString result = text;
    if (kept.isEmpty() || from.isEmpty())
        return result.replace(from, to);
    const Ranges ranges = keptRanges(text, kept);
    result.clear();
    qsizetype copied = 0;
    for (qsizetype at = text.indexOf(from); at >= 0; at = text.indexOf(from, at)) {
        if (overlaps(ranges, at, from.size())) {
            ++at;
            continue;
        }
        result += QStringView(text).mid(copied, at - copied);
        result += to;
        copied = at = at + from.size();
    }
    result += QStringView(text).mid(copied);
    return result;
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
        // Project files name the template's items, so they are rewritten once
        // every item knows its new name.
        for (const auto &[path, name] : m_projectFiles) {
            updateContent(path, name);
            rename(path);
        }
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
        if (!m_scope.existingProject && name.endsWith(".pbxproj")) {
            m_projectFiles.emplace_back(path, name);
            return;
        }
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
        const QString displayName = fileops::displayPath(name);
        QByteArray renamed = fileops::nativePath(renamedItemName(displayName, m_names));
        if (isTestsName(displayName) && fileops::entryKind(path.left(slash + 1) + renamed) != EntryKind::unknown
            && fileops::entryKind(path) != EntryKind::directory) {
            // The template has an item of that name already ("KeychainTests.swift"
            // beside "SwiftUIBaseSetupTests.swift" for the product Keychain):
            // this one is named like the test class in it.
            const QString instead = QString(displayName).replace(m_names.templateName,
                                                                 m_names.underscoredName + testsMarker);
            if (fileops::entryKind(path.left(slash + 1) + fileops::nativePath(instead)) == EntryKind::unknown) {
                m_names.renamedInstead.append({displayName, instead});
                renamed = fileops::nativePath(instead);
            }
        }
        QString error;
        if (!fileops::renameWithoutReplacing(path, path.left(slash + 1) + renamed, &error)) {
            debugConsole(QStringLiteral("Error while renaming content: ") + error);
            ++m_result.failures;
            return;
        }
        ++m_result.itemsRenamed;
    }

    const QByteArray m_root;
    InstantiationNames m_names;
    const ProjectDetailsModel &m_details;
    const InstantiationScope &m_scope;
    const QByteArray m_template;
    const QByteArray m_product;
    const QByteArray m_secretsOfProduct;
    QSet<QByteArray> m_copiedFiles;
    std::vector<QByteArray> m_folders;
    std::vector<std::pair<QByteArray, QByteArray>> m_projectFiles;
    QByteArray m_buffer;
    InstantiationResult m_result;
};

} // namespace

InstantiationNames InstantiationNames::of(const QString &templateName, const QString &productName,
                                          const QString &destination)
{
    InstantiationNames names{templateName, productName, swiftModuleName(productName), {}};
    if (!templateName.isEmpty()) {
        for (const QString &kept : {destination, yamlDoubleQuotedContent(destination)}) {
            if (kept.contains(templateName) && !names.keptTexts.contains(kept))
                names.keptTexts << kept;
        }
    }
    return names;
}

QString rewriteLine(const QString &line, const QString &fileName, const InstantiationNames &names, bool testsRule)
{
    const QString &product = names.productName;
    QString result = line;
    if (testsRule && isTestsName(fileName) && !product.isEmpty()) {
        // One pass over the line as the template has it, so that a P made
        // from T and a P of the template's own text are told apart.
        const bool testable = line.contains(QStringLiteral("@testable"));
        const QString &templateName = names.templateName;
        const QString fromTemplate = names.underscoredName + (testable ? QString() : testsMarker);
        const QString fromProduct = names.underscoredName + testsMarker;
        const Ranges kept = keptRanges(line, names.keptTexts);
        result.clear();
        qsizetype copied = 0;
        qsizetype at = 0;
        while (at < line.size()) {
            const qsizetype t = templateName.isEmpty() ? -1 : line.indexOf(templateName, at);
            qsizetype p = testable ? -1 : line.indexOf(product, at);
            while (p >= 0 && !isWholeIdentifier(line, p, product.size()))
                p = line.indexOf(product, p + 1);
            if (t < 0 && p < 0)
                break;
            const bool takeTemplate = t >= 0 && (p < 0 || t <= p);
            const qsizetype found = takeTemplate ? t : p;
            const qsizetype length = takeTemplate ? templateName.size() : product.size();
            if (takeTemplate && overlaps(kept, found, length)) {
                at = found + 1;
                continue;
            }
            result += QStringView(line).mid(copied, found - copied);
            result += takeTemplate ? fromTemplate : fromProduct;
            copied = at = found + length;
        }
        result += QStringView(line).mid(copied);
    }
    if (product != names.underscoredName
        && (result.contains(QStringLiteral("Secrets")) || result.contains(QStringLiteral("SecretInterfaces")))) {
        const QString secrets = product + QStringLiteral("Secrets");
        const QString renamed = names.underscoredName + QStringLiteral("Secrets");
        for (qsizetype at = result.indexOf(secrets); at >= 0; at = result.indexOf(secrets, at)) {
            if (at > 0 && isIdentifierCharacter(result.at(at - 1))) {
                ++at;
                continue;
            }
            result.replace(at, secrets.size(), renamed);
            at += renamed.size();
        }
    }
    return result;
}

QString rewriteContent(const QString &text, const QString &fileName, const InstantiationNames &names, bool testsRule)
{
    if (names.templateName.isEmpty() || names.productName.isEmpty())
        return text;
    const bool testsLines = testsRule && isTestsName(fileName);
    QString result = text;
    if (!testsLines) {
        const bool projectFile = fileName.contains(QStringLiteral(".pbxproj"));
        if (projectFile) {
            for (const auto &[before, after] : names.renamedInstead)
                result = replacedName(result, before, after);
        }
        result = replacedOutside(result, names.templateName,
                                 isTestsName(fileName) || projectFile ? names.underscoredName : names.productName,
                                 names.keptTexts);
    }

    // Splitting and joining at line feeds changes nothing by itself, so the
    // lines are only visited when one of the line rules can apply.
    const bool secretsRule = names.productName != names.underscoredName
                             && result.contains(names.productName + QStringLiteral("Secrets"));
    if (!secretsRule
        && !(testsLines && (result.contains(names.templateName) || result.contains(names.productName))))
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
    Walker walker(root, InstantiationNames::of(templateName, details.projectName, details.projectPath), details, scope);
    return walker.run();
}

} // namespace plinth
