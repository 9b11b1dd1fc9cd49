#include "generation/YamlScalar.h"

#include "project/ProjectNameRules.h"

namespace plinth {

bool isPlainYamlScalar(const QString &text)
{
    if (text.isEmpty() || text.back() == QLatin1Char(' '))
        return false;
    const char16_t first = text.front().unicode();
    if (!((first >= u'A' && first <= u'Z') || (first >= u'a' && first <= u'z') || first == u'_'))
        return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool allowed = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9')
                             || u == u'_' || u == u'.' || u == u'-' || u == u'/' || u == u' ';
        if (!allowed)
            return false;
    }
    // The words YAML 1.1 resolves to booleans and null, in every letter
    // case (readers differ in which they take).
    return !readsAsYamlValue(text);
}

QString yamlDoubleQuotedContent(const QString &text)
{
    QString content;
    content.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'"') {
            content += QLatin1Char('\\');
            content += c;
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029 || u == 0xFEFF
                   || u == 0xFFFE || u == 0xFFFF) {
            content += QStringLiteral("\\u") + QString::number(u, 16).rightJustified(4, QLatin1Char('0')).toUpper();
        } else {
            content += c;
        }
    }
    return content;
}

QString doubleQuotedYamlScalar(const QString &text)
{
    return QLatin1Char('"') + yamlDoubleQuotedContent(text) + QLatin1Char('"');
}

QString yamlScalar(const QString &text)
{
    return isPlainYamlScalar(text) ? text : doubleQuotedYamlScalar(text);
}

} // namespace plinth
