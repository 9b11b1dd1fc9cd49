#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace plinth {

/// How an existing project's own Arkana files are brought up to what the
/// secrets need: by adding lines, never by changing or removing one. Every
/// function takes a file's whole text and returns the new text; a text that
/// needs nothing comes back unchanged, line breaks included ("\r\n" files get
/// "\r\n" lines).

/// The entries of the top-level block `key:` of an `.arkana.yml` text, in
/// order ("environments", "global_secrets", "environment_secrets"): one per
/// "- entry" line, quotes removed. Empty when the block is missing or empty;
/// nothing when the block is written in flow style (`key: [A, B]`), which
/// cannot be extended line by line.
std::optional<QStringList> arkanaListEntries(const QString &arkanaText, const QString &key);

/// The value of the top-level setting `key:` of an `.arkana.yml` text
/// ("import_name", "result_path", "package_manager"), one pair of enclosing
/// quotes and a trailing comment removed; nothing when the setting is not
/// there or empty.
std::optional<QString> arkanaSetting(const QString &arkanaText, const QString &key);

/// `arkanaText` with each of `entries` that the block `key:` lacks added as
/// a "- entry" line (double-quoted where YAML would read it as something
/// else) after its last entry (with that entry's indentation); a
/// missing block is added at the end. Nothing when the block is in flow
/// style.
std::optional<QString> withArkanaListEntries(const QString &arkanaText, const QString &key, const QStringList &entries);

/// The variables Arkana reads from `.env` for an `.arkana.yml` text: every
/// global secret, then every environment secret followed by each environment
/// name ("APIClientSecret" + "Development").
QStringList arkanaEnvironmentVariables(const QString &arkanaText);

/// `envText` with an empty "export NAME=" line for each of `names` that no
/// line of it sets (with or without "export"), under one comment line.
QString envFileWithVariables(const QString &envText, const QStringList &names);

/// `gemfileText` with a `gem "arkana"` line at the end when no line declares
/// that gem.
QString gemfileWithArkana(const QString &gemfileText);

/// The Arkana environments of an existing project: the environments of its
/// `.arkana.yml` (in the project root) when it names any, else the build
/// configurations of its app target (a configuration pair "Staging Debug" /
/// "Staging Release", or "StagingDebug" / "StagingRelease", is one
/// environment; "Prerelease" stays whole), else "Debug" and "Release", the
/// configurations every Xcode project starts with. Names that cannot be
/// environments (not letters, digits and "_") are left out.
QStringList existingProjectEnvironments(const QString &projectRoot, const QString &projectName);

} // namespace plinth
