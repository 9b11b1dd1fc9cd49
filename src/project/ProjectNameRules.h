#pragma once

#include <QString>

namespace plinth {

/// The bundle identifier of every new app starts with this.
inline constexpr char bundleIdentifierPrefix[] = "com.tarnwick.";

/// Whether a YAML 1.1 reader (XcodeGen's, Arkana's, PyYAML) takes `name`,
/// written plainly, as a boolean or null instead of a text: y, n, yes, no,
/// on, off, true, false, null and ~, in any letter case. (A name that
/// starts with a letter or "_" never reads as a number or a date.)
bool readsAsYamlValue(const QString &name);

/// Whether `name` is a reserved word of Swift (case-sensitive: "if" is one,
/// "If" is not), which cannot name a module, a type or a compilation
/// condition: the keywords of declarations, statements, expressions and
/// types, the literals true, false and nil, "_", and "Type" and "Protocol",
/// which after a dot always mean the metatype (`Secrets.Type()`).
bool isSwiftKeyword(const QString &name);

/// The identity screen's product-name check: the text-catalog key of the
/// first rule the name breaks, in this order: it contains a space
/// (projectNameContainsSpace); a character other than an ASCII letter or
/// digit (projectNameContainsSpecialCharacter); it starts with a lower-case
/// letter (projectNameInitialSmallCaseFound); it starts with a digit
/// (projectNameInitialDigitFound); YAML reads it as a boolean or null
/// (projectNameReadsAsYamlValue); it is a Swift keyword
/// (projectNameSwiftKeyword); it names a module the templates import, which
/// the app module would shadow (projectNameImportedModule); it names, in any
/// letter case, an entry CocoaPods, Bundler or Arkana keep in the project
/// folder beside the app folder (projectNameProjectRootEntry). Null when the
/// name is acceptable, and for an empty name (which only keeps the screen's
/// Next disabled).
const char *productNameMessageKey(const QString &productName);

/// The text of productNameMessageKey, or an empty text.
QString productNameMessage(const QString &productName);

/// "com.tarnwick." + the product name with every space made "-".
QString bundleIdentifierFor(const QString &productName);

/// The Swift module name Xcode derives from a product name: every character
/// that is not an ASCII letter, digit or "_" made "_" (a character outside
/// the Basic Multilingual Plane counting once), and so is a leading digit:
/// "My App" gives "My_App", "O'Brien" "O_Brien".
QString swiftModuleName(const QString &productName);

/// The product name as the identity screen stores it: its first character
/// upper-cased, the rest unchanged.
QString storedProductName(const QString &productName);

/// The identity screen's Next-disabled test: a field is empty (blanks count
/// as content) or the product name breaks a rule.
bool isIdentityIncomplete(const QString &productName, const QString &organisationsName, const QString &authorName);

} // namespace plinth
