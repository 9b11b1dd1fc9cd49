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

/// The names a walk replaces: the template name T, the product name P and P
/// with every space made an underscore.
struct InstantiationNames
{
    QString templateName;
    QString productName;
    QString underscoredName;

    static InstantiationNames of(const QString &templateName, const QString &productName);
};

/// Walks `projectRoot` (never through a link, never outside it): rewrites
/// file texts from the template name to the product name, hands each file to
/// the secrets update, renames files during the walk and folders afterwards,
/// deepest first. A file whose text does not change is not written; a
/// rewritten file keeps its permissions, line breaks and byte order mark;
/// files that are not UTF-8 are left as they were. Every failure is written to
/// the debug console and the walk goes on.
InstantiationResult instantiateTemplate(const QString &projectRoot, const QString &templateName,
                                        const ProjectDetailsModel &details,
                                        const InstantiationScope &scope = InstantiationScope::newProject());
InstantiationResult instantiateTemplate(const QString &projectRoot, const QString &templateName);

/// The text of a file named `fileName` after the content rules: T becomes
/// the underscored name in test files and `.pbxproj` files and P elsewhere,
/// then each line goes through rewriteLine. Lines are split and joined at line
/// feeds only, so "\r\n" endings and a final line break survive.
QString rewriteContent(const QString &text, const QString &fileName, const InstantiationNames &names,
                       bool testsRule = true);

/// The per-line rules: on a line mentioning "Secrets" or "SecretInterfaces",
/// P + "Secrets" becomes the underscored name + "Secrets"; in a file whose
/// name holds "Tests" (when `testsRule`), P becomes the underscored name +
/// "Tests" on every line without "@testable".
QString rewriteLine(const QString &line, const QString &fileName, const InstantiationNames &names,
                    bool testsRule = true);

/// The new name of an item called `name`, or `name` itself when it does not
/// hold the template name.
QString renamedItemName(const QString &name, const InstantiationNames &names);

} // namespace plinth
