#include "app/ResourceBundle.h"
#include "generation/TemplateCopy.h"
#include "generation/TemplateInstantiation.h"
#include "generation/XcodeGenSpecification.h"
#include "tools/RunProcess.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace plinth;
using plinth::test::ProcessResult;
using plinth::test::runProcess;

// The shipped templates as a user gets them: copied and instantiated for a
// product and its choices (no toolchain involved), then every Swift file
// parsed and every data file read back.
class TestInstantiatedTemplates : public QObject
{
    Q_OBJECT

private slots:
    void instantiatedProjectsParse_data()
    {
        QTest::addColumn<QString>("ui");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("variants");
        QTest::addColumn<bool>("aws");
        QTest::addColumn<bool>("ble");
        QTest::newRow("SwiftUI, one variant") << "SwiftUI" << "Orbit" << QStringList{"Development"} << false << false;
        QTest::newRow("SwiftUI, four variants, AWS and BLE")
            << "SwiftUI" << "Kasse" << QStringList{"Development", "UAT", "Staging", "Production"} << true << true;
        QTest::newRow("UIKit, custom variant, AWS") << "UIKit" << "Shop" << QStringList{"Development", "QA"} << true
                                                    << false;
        QTest::newRow("UIKit, production first, BLE") << "UIKit" << "Notes" << QStringList{"Production", "Development"}
                                                      << false << true;
    }

    void instantiatedProjectsParse()
    {
        QFETCH(QString, ui);
        QFETCH(QString, name);
        QFETCH(QStringList, variants);
        QFETCH(bool, aws);
        QFETCH(bool, ble);

        QTemporaryDir dir;
        ProjectDetailsModel details;
        details.projectName = name;
        details.projectPath = dir.filePath(QStringLiteral("My Apps"));
        details.bundleIdentifier = QStringLiteral("com.tarnwick.") + name;
        details.selectedUI = ui;
        details.minimumDeploymentTarget = QStringLiteral("17.0");
        details.doesIncludeAWS = aws;
        details.doesIncludeBLE = ble;
        details.developmentSchemeName = QStringLiteral("Development");
        for (const QString &label : variants)
            details.configVariant.append({label, true});

        const QString root = details.projectRoot();
        for (const QString &folder : {name, name + QStringLiteral("Tests"), name + QStringLiteral("UITests")})
            QVERIFY(QDir().mkpath(root + QLatin1Char('/') + folder));
        QVERIFY(writeXcodeGenSpecification(root, details));
        const QString templateName = chooseTemplate(details);
        QVERIFY(copyTemplate(templateName, root, details, ResourceBundle::main()));
        QVERIFY(instantiateTemplate(root, templateName, details).succeeded());

        // Which parts are copied and that no template name is left is
        // TestTemplateInstantiation's and TestGenerationRun's; here the
        // result, with the modules the choices add, must parse.
        const QString checker = QStringLiteral(PLINTH_SWIFT_SYNTAX_CHECK);
        if (checker.isEmpty())
            QFAIL("the Swift syntax checker was not built: run scripts/setup.sh and configure again");
        const ProcessResult swift = runProcess(checker, {root});
        QVERIFY2(swift.exitCode == 0, qPrintable(swift.output));
        QVERIFY2(!swift.output.contains(QStringLiteral("checked 0 ")), qPrintable(swift.output));
        const ProcessResult data = runProcess(
            QStringLiteral(PLINTH_PYTHON), {QStringLiteral(PLINTH_SOURCE_DIR "/tests/tools/check_data_files.py"), root});
        QVERIFY2(data.exitCode == 0, qPrintable(data.output));
        QVERIFY2(!data.output.contains(QStringLiteral("checked 0 ")), qPrintable(data.output));
    }
};

QTEST_GUILESS_MAIN(TestInstantiatedTemplates)
#include "TestInstantiatedTemplates.moc"
