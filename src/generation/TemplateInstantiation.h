#pragma once

#include "project/ProjectDetailsModel.h"

#include <QString>
#include <QStringList>

namespace plinth {

/// What one walk did, for the generation run to record.
struct InstantiationResult
{
    bool rootListed = false;  ///< false: the root could not be listed, nothing was done
    int filesVisited = 0;
    int filesRewritten = 0;   ///< files whose text changed and was written
    int itemsRenamed = 0;     ///< files, links and folders
    int filesNotText = 0;     ///< held a name to replace but are not UTF-8; left as they were
    int failures = 0;         ///< unreadable or unwritable files, failed renames, unlistable folders,
                              ///< failed secrets rewrites
    bool succeeded() const { return rootListed && failures == 0; }
};

/// Which files a walk may change.
struct InstantiationScope
{
    /// False for a project just made from the template: every file is
    /// rewritten and every item whose name holds the template name renamed.
    /// True for a user's existing project: only `copiedFiles` are rewritten and
    /// handed to the secrets update; no rule for test files applies and nothing
    /// is renamed, so the user's own files are not even opened.
    bool existingProject = false;
    /// For an existing project: the files the Arkana step copied in, relative
    /// to the root (".arkana.yml", "Gemfile", ".env").
    QStringList copiedFiles;

    static InstantiationScope newProject() { return {}; }
    static InstantiationScope existing(const QStringList &copiedFiles) { return {true, copiedFiles}; }
};

/// The names a walk replaces: the template name T, the product name P and
/// the Swift module name Xcode derives from P (U: every character that is
/// not an ASCII letter, digit or "_" made "_", and so is a leading digit:
/// "My App" gives "My_App", "O'Brien" "O_Brien"), and the texts of the user's
/// that the walk leaves whole wherever they stand.
struct InstantiationNames
{
    QString templateName;
    QString productName;
    QString underscoredName;
    /// The destination folder's path as written and as inside a double-quoted
    /// YAML value, when it holds T; a T inside one of them is not replaced.
    QStringList keptTexts;
    /// Test items that the walk named like their test class, P's own name
    /// being taken by another item of the template: old name, new name. A
    /// `.pbxproj` file's mentions of them follow.
    QList<std::pair<QString, QString>> renamedInstead;

    static InstantiationNames of(const QString &templateName, const QString &productName,
                                 const QString &destination = {});
};

/// Walks `projectRoot` (never through a link, never outside it): rewrites
/// file texts from the template name to the product name, hands each file to
/// the secrets update, renames files during the walk and folders afterwards,
/// deepest first. A test file whose new name another file of the template
/// has already takes the name of its test class (T made the underscored name
/// + "Tests"); `.pbxproj` files are rewritten after every other file, so that
/// they name it so. A file whose text does not change is not written; a
/// rewritten file keeps its permissions, line breaks and byte order mark;
/// files that are not UTF-8 are left as they were. Every failure is written to
/// the debug console and the walk goes on.
InstantiationResult instantiateTemplate(const QString &projectRoot, const QString &templateName,
                                        const ProjectDetailsModel &details,
                                        const InstantiationScope &scope = InstantiationScope::newProject());

/// The text of a file named `fileName` after the content rules. In a file
/// whose name holds "Tests" (when `testsRule`) each line of the text goes
/// through rewriteLine as it is; in any other file T first becomes the
/// underscored name in `.pbxproj` files (after their mentions of
/// `renamedInstead` are renamed so) and P elsewhere, then each line goes
/// through rewriteLine. Lines are split and joined at line feeds only, so
/// "\r\n" endings and a final line break survive.
QString rewriteContent(const QString &text, const QString &fileName, const InstantiationNames &names,
                       bool testsRule = true);

/// The per-line rules. In a file whose name holds "Tests" (when `testsRule`),
/// on a line as the template has it, T becomes the underscored name + "Tests"
/// and P, where it stands as a whole identifier, too ("App" leaves
/// "XCUIApplication" whole); on a line with "@testable" T becomes the
/// underscored name and P stays. Then, on a line mentioning "Secrets" or
/// "SecretInterfaces", P + "Secrets" at the start of an identifier becomes
/// the underscored name + "Secrets".
QString rewriteLine(const QString &line, const QString &fileName, const InstantiationNames &names,
                    bool testsRule = true);

/// The new name of an item called `name`, or `name` itself when it does not
/// hold the template name.
QString renamedItemName(const QString &name, const InstantiationNames &names);

} // namespace plinth
