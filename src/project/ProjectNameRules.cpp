#include "project/ProjectNameRules.h"

#include "app/base/TextCatalog.h"

namespace plinth {

namespace {

bool isAsciiLetterOrDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9');
}

/// The modules the templates' sources import (their `import` lines), and
/// Swift itself, which every Swift file imports.
const QStringList &importedModules()
{
    static const QStringList modules = {
        QStringLiteral("Swift"),         QStringLiteral("SwiftUI"),  QStringLiteral("UIKit"),
        QStringLiteral("Foundation"),    QStringLiteral("XCTest"),   QStringLiteral("Combine"),
        QStringLiteral("CoreBluetooth"), QStringLiteral("Security"), QStringLiteral("Logging"),
        QStringLiteral("Alamofire"),     QStringLiteral("AWSCore"),  QStringLiteral("AWSS3"),
    };
    return modules;
}

/// What CocoaPods (Podfile, Podfile.lock, Pods), Bundler (Gemfile,
/// Gemfile.lock, vendor/bundle), Arkana (its result folder Dependencies) and
/// fastlane keep in the project folder, where the app folder goes too.
const QStringList &projectRootEntries()
{
    static const QStringList entries = {
        QStringLiteral("Pods"),         QStringLiteral("Podfile"),      QStringLiteral("Podfile.lock"),
        QStringLiteral("Gemfile"),      QStringLiteral("Gemfile.lock"), QStringLiteral("vendor"),
        QStringLiteral("Dependencies"), QStringLiteral("fastlane"),
    };
    return entries;
}

} // namespace

bool readsAsYamlValue(const QString &name)
{
    static const QStringList words = {
        QStringLiteral("y"),  QStringLiteral("n"),   QStringLiteral("yes"),  QStringLiteral("no"),
        QStringLiteral("on"), QStringLiteral("off"), QStringLiteral("true"), QStringLiteral("false"),
        QStringLiteral("null"), QStringLiteral("~"),
    };
    return words.contains(name, Qt::CaseInsensitive);
}

bool isSwiftKeyword(const QString &name)
{
    static const QStringList keywords = {
        // Declarations.
        QStringLiteral("associatedtype"), QStringLiteral("borrowing"), QStringLiteral("class"),
        QStringLiteral("consuming"), QStringLiteral("deinit"), QStringLiteral("enum"), QStringLiteral("extension"),
        QStringLiteral("fileprivate"), QStringLiteral("func"), QStringLiteral("import"), QStringLiteral("init"),
        QStringLiteral("inout"), QStringLiteral("internal"), QStringLiteral("let"), QStringLiteral("nonisolated"),
        QStringLiteral("open"), QStringLiteral("operator"), QStringLiteral("private"),
        QStringLiteral("precedencegroup"), QStringLiteral("protocol"), QStringLiteral("public"),
        QStringLiteral("rethrows"), QStringLiteral("static"), QStringLiteral("struct"), QStringLiteral("subscript"),
        QStringLiteral("typealias"), QStringLiteral("var"),
        // Statements.
        QStringLiteral("break"), QStringLiteral("case"), QStringLiteral("catch"), QStringLiteral("continue"),
        QStringLiteral("default"), QStringLiteral("defer"), QStringLiteral("do"), QStringLiteral("else"),
        QStringLiteral("fallthrough"), QStringLiteral("for"), QStringLiteral("guard"), QStringLiteral("if"),
        QStringLiteral("in"), QStringLiteral("repeat"), QStringLiteral("return"), QStringLiteral("throw"),
        QStringLiteral("switch"), QStringLiteral("where"), QStringLiteral("while"),
        // Expressions and types, literals among them.
        QStringLiteral("Any"), QStringLiteral("as"), QStringLiteral("await"), QStringLiteral("false"),
        QStringLiteral("is"), QStringLiteral("nil"), QStringLiteral("self"), QStringLiteral("Self"),
        QStringLiteral("super"), QStringLiteral("throws"), QStringLiteral("true"), QStringLiteral("try"),
        // Patterns.
        QStringLiteral("_"),
        // Metatypes: `Name.Type`, `Name.Protocol`.
        QStringLiteral("Type"), QStringLiteral("Protocol"),
    };
    return keywords.contains(name);
}

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
    if (readsAsYamlValue(productName))
        return key::projectNameReadsAsYamlValue;
    if (isSwiftKeyword(productName))
        return key::projectNameSwiftKeyword;
    if (importedModules().contains(productName))
        return key::projectNameImportedModule;
    // The file systems of macOS ignore letter case: "pods" is "Pods" there.
    if (projectRootEntries().contains(productName, Qt::CaseInsensitive))
        return key::projectNameProjectRootEntry;
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

QString swiftModuleName(const QString &productName)
{
    QString name;
    for (qsizetype i = 0; i < productName.size(); ++i) {
        const QChar c = productName.at(i);
        const char16_t u = c.unicode();
        const bool kept = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') || u == u'_';
        name += kept ? c : QLatin1Char('_');
        if (c.isHighSurrogate() && i + 1 < productName.size() && productName.at(i + 1).isLowSurrogate())
            ++i; // one character, one underscore
    }
    if (!name.isEmpty() && name.front().isDigit())
        name[0] = QLatin1Char('_');
    return name;
}

} // namespace plinth
