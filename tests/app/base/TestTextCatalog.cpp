#include "app/base/ResourceBundle.h"
#include "app/base/TextCatalog.h"

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
        // A text that names a button names it as the button reads.
        QVERIFY(catalog.text(key::generationFailedNotice).contains(catalog.text(key::finish)));
    }

    void languageIsChosenFromThePreferenceList_data()
    {
        QTest::addColumn<QStringList>("preferences");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("nextText");
        // The region is dropped, and English is a catalog like any other.
        QTest::newRow("English before German") << QStringList{"en-GB", "de"} << "en" << "Next";
        QTest::newRow("first with a catalog") << QStringList{"fr", "de"} << "de" << "Weiter";
        QTest::newRow("none known") << QStringList{"ja"} << "en" << "Next";
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
};

QTEST_GUILESS_MAIN(TestTextCatalog)
#include "TestTextCatalog.moc"
