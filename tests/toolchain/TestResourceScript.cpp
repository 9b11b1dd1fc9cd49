#include "app/ResourceBundle.h"
#include "toolchain/ResourceScript.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;

class TestResourceScript : public QObject
{
    Q_OBJECT

private slots:
    // The program looks each script up by its exact name (three begin with
    // "v", three with "V"): every one it runs must be in the bundle so named.
    void everyScriptIsInTheBundle()
    {
        const QStringList neverShipped{"RubySetup.rb", "UpdateMinimumDeploymentTarget", "UpdateBundleIdentifier"};
        const QStringList shipped = QDir(QStringLiteral(PLINTH_SOURCE_DIR "/resources")).entryList(QDir::Files);
        for (ResourceScript script : allResourceScripts) {
            QString name = fileName(script);
            if (neverShipped.contains(name))
                continue;
            if (!name.contains(QLatin1Char('.')))
                name += QStringLiteral(".sh");
            QVERIFY2(shipped.contains(name), qPrintable(name));
        }
    }

    void lookup()
    {
        QTemporaryDir root(QDir::tempPath() + QStringLiteral("/plinth bundle-XXXXXX"));
        QVERIFY(root.isValid());
        for (const QString &name : {QStringLiteral("post_gen.sh"), QStringLiteral("PodInstall.sh"),
                                    QStringLiteral("validateHomeBrewInstallation.rb")}) {
            QFile file(root.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const ResourceBundle bundle(root.path());

        QCOMPARE(scriptPath(bundle, ResourceScript::postGen, QStringLiteral("sh")), root.filePath(QStringLiteral("post_gen.sh")));
        QCOMPARE(scriptPath(bundle, ResourceScript::podInstall, QStringLiteral("sh")), root.filePath(QStringLiteral("PodInstall.sh")));
        QCOMPARE(scriptPath(bundle, ResourceScript::validateHomeBrew),
                 root.filePath(QStringLiteral("validateHomeBrewInstallation.rb")));
        QCOMPARE(scriptPath(bundle, ResourceScript::postGen), QString());
        QCOMPARE(scriptPath(bundle, ResourceScript::validateXcodeProj), QString());
        QCOMPARE(scriptPath(bundle, ResourceScript::preProjectSetupCommands, QStringLiteral("sh")), QString());
    }
};

QTEST_GUILESS_MAIN(TestResourceScript)
#include "TestResourceScript.moc"
