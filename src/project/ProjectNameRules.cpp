#include "project/ProjectNameRules.h"

#include "app/TextCatalog.h"

namespace plinth {

namespace {

bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

} // namespace

const char *productNameMessageKey(const QString &productName)
{
    if (productName.contains(QLatin1Char(' ')))
        return key::projectNameContainsSpace;
    for (const QChar c : productName) {
        if (!isAsciiLetterOrDigit(c))
            return key::projectNameContainsSpecialCharacter;
    }
    if (productName.isEmpty())
        return nullptr;
    const QChar first = productName.front();
    if (first.toUpper() != first)
        return key::projectNameInitialSmallCaseFound;
    if (first.isDigit())
        return key::projectNameInitialDigitFound;
    return nullptr;
}

QString productNameMessage(const QString &productName)
{
    const char *key = productNameMessageKey(productName);
    return key ? text(key) : QString();
}

QString bundleIdentifierFor(const QString &productName)
{
    return QLatin1String(bundleIdentifierPrefix) + QString(productName).replace(QLatin1Char(' '), QLatin1Char('-'));
}

QString storedProductName(const QString &productName)
{
    if (productName.isEmpty())
        return productName;
    // The first character as a whole (a surrogate pair stays one).
    const qsizetype length = productName.front().isHighSurrogate() && productName.size() > 1 ? 2 : 1;
    return productName.left(length).toUpper() + productName.mid(length);
}

bool isIdentityIncomplete(const QString &productName, const QString &organisationsName, const QString &authorName)
{
    return productName.isEmpty() || organisationsName.isEmpty() || authorName.isEmpty()
           || productNameMessageKey(productName) != nullptr;
}

} // namespace plinth
