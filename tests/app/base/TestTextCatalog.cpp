#include "app/base/ResourceBundle.h"
#include "app/base/TextCatalog.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

namespace {

QString bundleTranslations()
{
    return ResourceBundle::main().path(QStringLiteral("translations"));
}

// Keys whose texts are values that files, folders and other programs depend
// on; a translation must not change them. (The English values themselves
// are pinned where they are used: the golden project, the CLI's tests.)
const char *const valueKeys[] = {key::swiftUi, key::uiKit, key::deploymentTarget16_0, key::deploymentTarget17_0,
                                 key::deploymentTarget18_0, key::variantDevelopment, key::variantUAT,
                                 key::variantStaging, key::variantProduction, key::awss3, key::ble, key::output};

/// The keys marked as taking one argument where they are declared.
QStringList oneArgumentKeys()
{
    QFile declarations(QStringLiteral(PLINTH_SOURCE_DIR "/src/app/base/TextKeys.h"));
    if (!declarations.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression marked(QStringLiteral("X\\((\\w+)\\) /\\* 1 argument \\*/"));
    QStringList keys;
    for (auto it = marked.globalMatch(QString::fromUtf8(declarations.readAll())); it.hasNext();)
        keys << it.next().captured(1);
    return keys;
}

const QStringList argumentKeys = oneArgumentKeys();

} // namespace

class TestTextCatalog : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyHasItsOwnTextAndValuesStay_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << QStringLiteral("en");
        QTest::newRow("German") << QStringLiteral("de");
    }

    void everyKeyHasItsOwnTextAndValuesStay()
    {
        QFETCH(QString, language);
        const TextCatalog catalog(bundleTranslations(), {language});
        QCOMPARE(catalog.language(), language);
        QStringList missing;
        for (const QString &key : TextCatalog::allKeys()) {
            const QByteArray id = key.toLatin1();
            if (!catalog.hasOwnText(id.constData()) || catalog.text(id.constData()).trimmed().isEmpty())
                missing << key;
            const bool takesArgument = argumentKeys.contains(key);
            QVERIFY2(catalog.text(id.constData()).contains(QStringLiteral("%1")) == takesArgument,
                     qPrintable(key + QStringLiteral(": placeholder %1 present exactly for one-argument keys")));
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("no text for: ") + missing.join(QStringLiteral(", "))));
        const TextCatalog english(bundleTranslations(), {QStringLiteral("en")});
        for (const char *key : valueKeys)
            QVERIFY2(catalog.text(key) == english.text(key), key);
    }

    // Every key named anywhere in the sources must be a catalog key; catalog
    // files must not carry ids that no code knows.
    void keysInSourcesAndCatalogsAgree()
    {
        const QStringList known = TextCatalog::allKeys();
        const QRegularExpression use(QStringLiteral("(?:key::|\\btext\\(\\s*\"|qtTrId\\(\\s*\")(\\w+)"));
        QDirIterator sources(QStringLiteral(PLINTH_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                             QDir::Files, QDirIterator::Subdirectories);
        int uses = 0;
        while (sources.hasNext()) {
            QFile file(sources.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            auto matches = use.globalMatch(QString::fromUtf8(file.readAll()));
            while (matches.hasNext()) {
                const QString name = matches.next().captured(1);
                ++uses;
                QVERIFY2(known.contains(name), qPrintable(file.fileName() + QStringLiteral(" uses unknown key ") + name));
            }
        }
        QVERIFY(uses > 0);

        const QRegularExpression id(QStringLiteral("<message id=\"(\\w+)\""));
        QDirIterator catalogs(QStringLiteral(PLINTH_SOURCE_DIR "/resources/translations"), {QStringLiteral("*.ts")});
        while (catalogs.hasNext()) {
            QFile file(catalogs.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            auto matches = id.globalMatch(QString::fromUtf8(file.readAll()));
            while (matches.hasNext()) {
                const QString name = matches.next().captured(1);
                QVERIFY2(known.contains(name), qPrintable(file.fileName() + QStringLiteral(" has stray id ") + name));
            }
        }
    }

    void languageIsChosenFromThePreferenceList_data()
    {
        QTest::addColumn<QStringList>("preferences");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("nextText");
        QTest::newRow("German region") << QStringList{QStringLiteral("de-DE")} << QStringLiteral("de") << QStringLiteral("Weiter");
        QTest::newRow("underscore form") << QStringList{QStringLiteral("de_AT")} << QStringLiteral("de") << QStringLiteral("Weiter");
        QTest::newRow("first with a catalog") << QStringList{QStringLiteral("fr"), QStringLiteral("de")} << QStringLiteral("de") << QStringLiteral("Weiter");
        QTest::newRow("English before German") << QStringList{QStringLiteral("en-GB"), QStringLiteral("de")} << QStringLiteral("en") << QStringLiteral("Next");
        QTest::newRow("none known") << QStringList{QStringLiteral("ja")} << QStringLiteral("en") << QStringLiteral("Next");
        QTest::newRow("empty") << QStringList{} << QStringLiteral("en") << QStringLiteral("Next");
    }

    void languageIsChosenFromThePreferenceList()
    {
        QFETCH(QStringList, preferences);
        QFETCH(QString, language);
        QFETCH(QString, nextText);
        const TextCatalog catalog(bundleTranslations(), preferences);
        QCOMPARE(catalog.language(), language);
        QCOMPARE(catalog.text(key::next), nextText);
    }

    void missingTranslationFallsBackToEnglish()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(bundleTranslations() + QStringLiteral("/plinth_en.qm"), dir.filePath(QStringLiteral("plinth_en.qm"))));
        QVERIFY(QFile::copy(QStringLiteral(PLINTH_BUILD_DIR "/fixtures/partial-translations/plinth_de.qm"),
                            dir.filePath(QStringLiteral("plinth_de.qm"))));
        const TextCatalog catalog(dir.path(), {QStringLiteral("de")});
        QCOMPARE(catalog.text(key::next), QStringLiteral("Weiter"));
        QCOMPARE(catalog.text(key::cancel), QStringLiteral("Cancel"));
        QVERIFY(!catalog.hasOwnText(key::cancel));
        // No catalog at all: the key itself.
        QCOMPARE(TextCatalog(dir.filePath(QStringLiteral("none")), {QStringLiteral("de")}).text(key::next), QStringLiteral("next"));
    }

    void sharedLookupFollowsTheChosenLanguage()
    {
        TextCatalog::useLanguages({QStringLiteral("de")});
        QCOMPARE(text(key::cancel), QStringLiteral("Abbrechen"));
        QCOMPARE(text(key::skippingIgnoreFile, QStringLiteral("/a b/ü")), QStringLiteral("Überspringe /a b/ü"));
        TextCatalog::useLanguages({QStringLiteral("en")});
        QCOMPARE(text(key::cancel), QStringLiteral("Cancel"));
        QCOMPARE(text(key::directoryAlreadyExistSubTitle, QStringLiteral("100% Demo")),
                 QStringLiteral("“100% Demo” already exists. Choose another product name or destination."));
    }
};

QTEST_GUILESS_MAIN(TestTextCatalog)
#include "TestTextCatalog.moc"
