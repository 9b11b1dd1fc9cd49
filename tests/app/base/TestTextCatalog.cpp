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
        // Every name `pattern` finds in the files below `folder` is a key.
        const auto allKnown = [&known](const QString &folder, const QStringList &files, const QString &pattern,
                                       const QString &unknown) {
            int names = 0;
            QDirIterator it(folder, files, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile file(it.next());
                QVERIFY(file.open(QIODevice::ReadOnly));
                for (const QRegularExpressionMatch &match :
                     QRegularExpression(pattern).globalMatch(QString::fromUtf8(file.readAll()))) {
                    ++names;
                    const QString name = match.captured(1);
                    QVERIFY2(known.contains(name), qPrintable(file.fileName() + unknown + name));
                }
            }
            QVERIFY(names > 0);
        };
        allKnown(PLINTH_SOURCE_DIR "/src", {"*.cpp", "*.h"}, "(?:key::|\\btext\\(\\s*\"|qtTrId\\(\\s*\")(\\w+)",
                 " uses unknown key ");
        allKnown(PLINTH_SOURCE_DIR "/resources/translations", {"*.ts"}, "<message id=\"(\\w+)\"", " has stray id ");
    }

    void languageIsChosenFromThePreferenceList_data()
    {
        QTest::addColumn<QStringList>("preferences");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("nextText");
        QTest::newRow("German region") << QStringList{"de-DE"} << "de" << "Weiter";
        QTest::newRow("underscore form") << QStringList{"de_AT"} << "de" << "Weiter";
        QTest::newRow("first with a catalog") << QStringList{"fr", "de"} << "de" << "Weiter";
        QTest::newRow("English before German") << QStringList{"en-GB", "de"} << "en" << "Next";
        QTest::newRow("none known") << QStringList{"ja"} << "en" << "Next";
        QTest::newRow("empty") << QStringList{} << "en" << "Next";
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
