#include "toolchain/ResourceScript.h"

#include <QDir>
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
};

QTEST_GUILESS_MAIN(TestResourceScript)
#include "TestResourceScript.moc"
