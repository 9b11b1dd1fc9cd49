#pragma once

#include <QString>

namespace plinth {

/// True when `text` written as a plain YAML scalar reads back as the same
/// string: ASCII letters, digits, "_", ".", "-", "/" and inner spaces,
/// starting with a letter or "_", and not a word that YAML 1.1 reads as a
/// boolean or null ("On", "no", "Null", "y", in any letter case).
bool isPlainYamlScalar(const QString &text);

/// `text` between double quotes, with the quote, the backslash and every
/// character YAML would not keep as it is (control characters, line and
/// paragraph separators, a byte order mark) escaped.
QString doubleQuotedYamlScalar(const QString &text);

/// `text` as it stands when isPlainYamlScalar() says so, else double-quoted:
/// a YAML reader gives back `text` either way.
QString yamlScalar(const QString &text);

/// The inside of doubleQuotedYamlScalar(`text`), for a value that is quoted
/// as a whole with other text around `text`.
QString yamlDoubleQuotedContent(const QString &text);

} // namespace plinth
