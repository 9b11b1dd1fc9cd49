#include "project/XcodeProjectFile.h"

#include <QVariantList>
#include <QVariantMap>

namespace plinth {

namespace {

/// A recursive-descent reader of the old-style property list: strings in
/// double quotes (with backslash escapes) or bare words, { key = value; }
/// and ( value, ), comments in /* */ and //.
class PropertyListReader
{
public:
    explicit PropertyListReader(const QString &text)
        : m_text(text)
    {
    }

    std::optional<QVariant> document()
    {
        std::optional<QVariant> root = value(0); // the encoding line "// !$*UTF8*$!" is a comment
        skipSpace();
        if (!root || m_position != m_text.size())
            return std::nullopt;
        return root;
    }

private:
    static constexpr int maximumDepth = 64;

    void skipLine()
    {
        while (m_position < m_text.size() && m_text.at(m_position) != QLatin1Char('\n'))
            ++m_position;
    }

    void skipSpace()
    {
        while (m_position < m_text.size()) {
            const QChar c = m_text.at(m_position);
            if (c.isSpace()) {
                ++m_position;
            } else if (c == QLatin1Char('/') && m_position + 1 < m_text.size()
                       && m_text.at(m_position + 1) == QLatin1Char('*')) {
                const qsizetype end = m_text.indexOf(QLatin1String("*/"), m_position + 2);
                m_position = end < 0 ? m_text.size() : end + 2;
            } else if (c == QLatin1Char('/') && m_position + 1 < m_text.size()
                       && m_text.at(m_position + 1) == QLatin1Char('/')) {
                skipLine();
            } else {
                return;
            }
        }
    }

    bool take(QChar expected)
    {
        skipSpace();
        if (m_position < m_text.size() && m_text.at(m_position) == expected) {
            ++m_position;
            return true;
        }
        return false;
    }

    std::optional<QString> scalar()
    {
        skipSpace();
        if (m_position >= m_text.size())
            return std::nullopt;
        if (m_text.at(m_position) == QLatin1Char('"')) {
            QString result;
            for (++m_position; m_position < m_text.size(); ++m_position) {
                const QChar c = m_text.at(m_position);
                if (c == QLatin1Char('"')) {
                    ++m_position;
                    return result;
                }
                if (c == QLatin1Char('\\') && m_position + 1 < m_text.size()) {
                    const QChar escaped = m_text.at(++m_position);
                    result += escaped == QLatin1Char('n') ? QChar(QLatin1Char('\n'))
                              : escaped == QLatin1Char('t') ? QChar(QLatin1Char('\t'))
                                                            : escaped;
                    continue;
                }
                result += c;
            }
            return std::nullopt; // an unterminated string
        }
        const qsizetype start = m_position;
        while (m_position < m_text.size()) {
            const QChar c = m_text.at(m_position);
            if (c.isLetterOrNumber() || QStringLiteral("_$/:.-+").contains(c))
                ++m_position;
            else
                break;
        }
        if (m_position == start)
            return std::nullopt;
        return m_text.mid(start, m_position - start);
    }

    std::optional<QVariant> value(int depth)
    {
        if (depth > maximumDepth)
            return std::nullopt;
        if (take(QLatin1Char('{'))) {
            QVariantMap map;
            while (!take(QLatin1Char('}'))) {
                const std::optional<QString> key = scalar();
                if (!key || !take(QLatin1Char('=')))
                    return std::nullopt;
                std::optional<QVariant> entry = value(depth + 1);
                if (!entry || !take(QLatin1Char(';')))
                    return std::nullopt;
                map.insert(*key, *entry);
            }
            return QVariant(map);
        }
        if (take(QLatin1Char('('))) {
            QVariantList list;
            while (!take(QLatin1Char(')'))) {
                std::optional<QVariant> entry = value(depth + 1);
                if (!entry)
                    return std::nullopt;
                list.append(*entry);
                if (!take(QLatin1Char(','))) {
                    if (!take(QLatin1Char(')')))
                        return std::nullopt;
                    break;
                }
            }
            return QVariant(list);
        }
        const std::optional<QString> text = scalar();
        if (!text)
            return std::nullopt;
        return QVariant(*text);
    }

    const QString &m_text;
    qsizetype m_position = 0;
};

} // namespace

std::optional<QVariant> parseXcodeProjectFile(const QString &text)
{
    return PropertyListReader(text).document();
}

QStringList targetBuildConfigurationNames(const QString &pbxprojText, const QString &targetName)
{
    const std::optional<QVariant> root = parseXcodeProjectFile(pbxprojText);
    if (!root)
        return {};
    const QVariantMap objects = root->toMap().value(QStringLiteral("objects")).toMap();
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        const QVariantMap target = it.value().toMap();
        if (target.value(QStringLiteral("isa")).toString() != QLatin1String("PBXNativeTarget")
            || target.value(QStringLiteral("name")).toString() != targetName)
            continue;
        const QVariantMap list =
            objects.value(target.value(QStringLiteral("buildConfigurationList")).toString()).toMap();
        QStringList names;
        for (const QVariant &id : list.value(QStringLiteral("buildConfigurations")).toList()) {
            const QString name = objects.value(id.toString()).toMap().value(QStringLiteral("name")).toString();
            if (!name.isEmpty())
                names << name;
        }
        return names;
    }
    return {};
}

} // namespace plinth
