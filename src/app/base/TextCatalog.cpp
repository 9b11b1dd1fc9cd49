#include "app/base/TextCatalog.h"

#include "app/base/ResourceBundle.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMutex>

namespace plinth {

namespace {

const QString englishLanguage = QStringLiteral("en");

std::unique_ptr<QTranslator> loadCatalog(const QString &directory, const QString &language)
{
    const QString path = QDir(directory).filePath(QStringLiteral("plinth_%1.qm").arg(language));
    if (!QFileInfo::exists(path))
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(path))
        return nullptr;
    return translator;
}

QString translationsDirectoryOf(const ResourceBundle &bundle)
{
    return bundle.path(QStringLiteral("translations"));
}

std::unique_ptr<TextCatalog> &sharedSlot()
{
    static std::unique_ptr<TextCatalog> catalog;
    return catalog;
}

QMutex &sharedMutex()
{
    static QMutex mutex;
    return mutex;
}

} // namespace

TextCatalog::TextCatalog(const QString &translationsDirectory, const QStringList &uiLanguages)
    : m_language(englishLanguage)
{
    for (const QString &uiLanguage : uiLanguages) {
        // "de-DE" and "de_DE" both select the "de" catalog.
        const QString language = uiLanguage.section(QLatin1Char('-'), 0, 0)
                                     .section(QLatin1Char('_'), 0, 0)
                                     .toLower();
        if (language.isEmpty())
            continue;
        if (language == englishLanguage)
            break;
        if (auto translator = loadCatalog(translationsDirectory, language)) {
            m_translators.push_back(std::move(translator));
            m_language = language;
            break;
        }
    }
    if (auto english = loadCatalog(translationsDirectory, englishLanguage))
        m_translators.push_back(std::move(english));
}

TextCatalog::~TextCatalog() = default;

QString TextCatalog::text(const char *key) const
{
    for (const auto &translator : m_translators) {
        const QString found = translator->translate(nullptr, key);
        if (!found.isNull())
            return found;
    }
    return QString::fromLatin1(key);
}

bool TextCatalog::hasOwnText(const char *key) const
{
    return !m_translators.empty() && !m_translators.front()->translate(nullptr, key).isNull();
}

QStringList TextCatalog::allKeys()
{
    QStringList keys;
#define PLINTH_LIST_TEXT_KEY(name) keys << QStringLiteral(#name);
    PLINTH_TEXT_KEYS(PLINTH_LIST_TEXT_KEY)
#undef PLINTH_LIST_TEXT_KEY
    return keys;
}

const TextCatalog &TextCatalog::shared()
{
    QMutexLocker lock(&sharedMutex());
    auto &catalog = sharedSlot();
    if (!catalog) {
        catalog = std::make_unique<TextCatalog>(translationsDirectoryOf(ResourceBundle::main()),
                                                QLocale::system().uiLanguages());
    }
    return *catalog;
}

void TextCatalog::useLanguages(const QStringList &uiLanguages)
{
    QMutexLocker lock(&sharedMutex());
    sharedSlot() = std::make_unique<TextCatalog>(translationsDirectoryOf(ResourceBundle::main()),
                                                 uiLanguages);
}

QString text(const char *key)
{
    return TextCatalog::shared().text(key);
}

QString text(const char *key, const QString &argument)
{
    return TextCatalog::shared().text(key).arg(argument);
}

} // namespace plinth
