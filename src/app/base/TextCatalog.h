#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>
#include <vector>

#include "app/base/TextKeys.h"

namespace plinth {

/// The "Localizable" text table: compiled Qt Linguist catalogs (id-based,
/// plinth_<language>.qm) in the bundle's translations folder. A text is looked
/// up in the first of the user's languages that has a catalog, then in
/// English, so a text missing from a translation still reads sensibly. The
/// catalog owns its translators instead of installing them on the
/// application, so lookups need no QCoreApplication and are safe from any
/// thread once the catalog is built.
class TextCatalog
{
public:
    /// Loads English and the first of `uiLanguages` ("de", "de-DE", ...) that
    /// has a catalog in `translationsDirectory`.
    TextCatalog(const QString &translationsDirectory, const QStringList &uiLanguages);
    ~TextCatalog();

    /// The text of `key`, or the key itself when no catalog holds it.
    QString text(const char *key) const;
    /// True when `language`'s own catalog (not the English fallback) has `key`.
    bool hasOwnText(const char *key) const;
    /// The language whose catalog is consulted first ("en" when none other).
    QString language() const { return m_language; }

    /// Every key of the catalog, in declaration order.
    static QStringList allKeys();

    /// The catalog used by text(): built on first use from the main resource
    /// bundle and the system's user-interface languages.
    static const TextCatalog &shared();
    /// Replaces the shared catalog by one for `uiLanguages` (tests, and a
    /// future language preference). Not to be called while other threads
    /// look texts up.
    static void useLanguages(const QStringList &uiLanguages);

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators; // most preferred first
    QString m_language;
};

/// The display text of `key` in the user's language.
QString text(const char *key);
/// The display text of `key` with its one placeholder (%1) replaced by `argument`.
QString text(const char *key, const QString &argument);

} // namespace plinth
