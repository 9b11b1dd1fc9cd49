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
    void fileNames()
    {
        // Letter case matters: three validation scripts begin with "v", three with "V".
        const QStringList expected = {
            "validateHomeBrewInstallation.rb",  "validateCocoaPodsInstallation.rb", "RubySetup.rb",
            "ValidateXcodeBuild.rb",            "ValidateCommandLineTool.rb",       "validateXcodeGenInstallation.rb",
            "ValidateXcodeProjInstallation.rb", "PreProjectSetupCommands",          "PodInstall",
            "UpdateMinimumDeploymentTarget",    "UpdateBundleIdentifier",           "post_gen",
            "AddModulesInTarget.rb",
        };
        QStringList names;
        for (ResourceScript script : allResourceScripts)
            names << fileName(script);
        QCOMPARE(names, expected);
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
