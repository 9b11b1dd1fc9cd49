#pragma once

#include <QString>

namespace plinth {

/// The bundle identifier of every new app starts with this.
inline constexpr char bundleIdentifierPrefix[] = "com.tarnwick.";

/// The identity screen's product-name check: the text-catalog key of the
/// first rule the name breaks, in this order: it contains a space
/// (projectNameContainsSpace); a character other than an ASCII letter or
/// digit (projectNameContainsSpecialCharacter); it starts with a lower-case
/// letter (projectNameInitialSmallCaseFound); it starts with a digit
/// (projectNameInitialDigitFound). Null when the name is acceptable, and for
/// an empty name (which only keeps the screen's Next disabled).
const char *productNameMessageKey(const QString &productName);

/// The text of productNameMessageKey, or an empty text.
QString productNameMessage(const QString &productName);

/// "com.tarnwick." + the product name with every space made "-".
QString bundleIdentifierFor(const QString &productName);

/// The product name as the identity screen stores it: its first character
/// upper-cased, the rest unchanged.
QString storedProductName(const QString &productName);

/// The identity screen's Next-disabled test: a field is empty (blanks count
/// as content) or the product name breaks a rule.
bool isIdentityIncomplete(const QString &productName, const QString &organisationsName, const QString &authorName);

} // namespace plinth
