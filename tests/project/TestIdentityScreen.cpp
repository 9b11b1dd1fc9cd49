#include "app/FakeServices.h"
#include "app/widgets/BaseView.h"
#include "project/AuthorNameLookup.h"
#include "project/ProjectDetailsInitialView.h"
#include "project/ProjectDetailsInitialViewModel.h"
#include "project/ProjectDetailsModel.h"
#include "toolchain/CommandRunner.h"
#include "toolchain/OnWorker.h"
#include "tools/TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

using namespace plinth;
using plinth::test::writeFile;

namespace {

std::shared_ptr<CommandRunner> runnerWithTools(const QString &folder)
{
    auto runner = std::make_shared<CommandRunner>();
    runner->setToolchainSearchPath(folder);
    return runner;
}

void typeInto(QLineEdit *field, const QString &value)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, value);
}

} // namespace

class TestIdentityScreen : public QObject
{
    Q_OBJECT

    ProjectDetailsModel m_details;

private slots:
    // What the user typed before the lookup came back is replaced, once.
    // The product name's check under its field and Next follow the typing;
    // a refused name writes nothing, even if Next is asked for. Return
    // presses Next: the flag goes up and the four fields are written,
    // nothing else. A model dropped while its lookup runs never hears of
    // the result.
    void typingLookupAndNext()
    {
        // A finger that answers once the gate file is there, with a name that
        // is not ASCII on one line of several.
        QTemporaryDir tools;
        const QString gate = tools.filePath(QStringLiteral("gate"));
        QVERIFY(writeFile(tools.filePath(QStringLiteral("finger")),
                          "#!/bin/sh\nwhile [ ! -e '" + gate.toUtf8() + "' ]; do sleep 0.05; done\n"
                          "printf 'Login: ada\\tName: Ada Lövelace 👩‍💻\\nDirectory: /home/ada\\tShell: /bin/zsh\\n'\n",
                          true));
        ProjectDetailsInitialView view(
            std::make_unique<ProjectDetailsInitialViewModel>(m_details, runnerWithTools(tools.path())), FlagBinding{});
        view.show();
        const auto field = [&view](const char *name) { return view.findChild<QLineEdit *>(QLatin1String(name)); };
        typeInto(field("authorNameField"), QStringLiteral("Someone"));
        QCOMPARE(view.viewModel()->authorName(), QStringLiteral("Someone"));
        QVERIFY(writeFile(gate, {}));
        QTRY_COMPARE(view.viewModel()->authorName(), QStringLiteral("Ada Lövelace 👩‍💻"));
        QCOMPARE(field("authorNameField")->text(), QStringLiteral("Ada Lövelace 👩‍💻"));

        // The message under the field follows the typing (the full table of
        // the name rules is TestProjectRules').
        m_details.selectedUI = QStringLiteral("kept");
        auto *message = view.findChild<QLabel *>(QStringLiteral("productNameMessage"));
        QPushButton *next = view.frame()->nextButton();
        typeInto(field("productNameField"), QStringLiteral("demo"));
        QVERIFY(message->isVisible() && !next->isEnabled());
        view.viewModel()->next(); // asked for all the same, a refused name writes nothing
        QCoreApplication::processEvents();
        QVERIFY(!view.viewModel()->shouldGoToNext() && m_details.projectName.isEmpty());
        typeInto(field("productNameField"), QStringLiteral("Demo"));
        QVERIFY(!message->isVisible() && next->isEnabled());
        QCOMPARE(field("bundleIdentifierField")->text(), QStringLiteral("com.tarnwick.Demo"));
        typeInto(field("organisationsNameField"), QString());
        QVERIFY(!next->isEnabled());
        // Quotes and commands reach the description as typed.
        const QString organisation = QStringLiteral("O'Brien's \"Labs\" $(touch CANARY) `touch CANARY`");
        typeInto(field("organisationsNameField"), organisation);
        QTest::keyClick(field("productNameField"), Qt::Key_Return);
        QTRY_VERIFY(view.viewModel()->shouldGoToNext());
        QCOMPARE(m_details.projectName, QStringLiteral("Demo"));
        QCOMPARE(m_details.bundleIdentifier, QStringLiteral("com.tarnwick.Demo"));
        QCOMPARE(m_details.organizationName, organisation);
        QCOMPARE(m_details.authorName, QStringLiteral("Ada Lövelace 👩‍💻"));
        QCOMPARE(m_details.selectedUI, QStringLiteral("kept"));

        QVERIFY(QFile::remove(gate));
        auto model = std::make_unique<ProjectDetailsInitialViewModel>(m_details, runnerWithTools(tools.path()));
        model.reset();
        QVERIFY(writeFile(gate, {}));
        QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
        QCoreApplication::processEvents();
    }

    // Whatever finger does, the name is a name: never its complaint; without
    // finger's "Name:" field (read in typingLookupAndNext), the account's full
    // name.
    void authorLookup_data()
    {
        QTest::addColumn<QByteArray>("finger"); // empty: there is no finger
        QTest::addColumn<QString>("expected");  // empty: the account's full name
        QTest::newRow("no finger") << QByteArray() << "";
        QTest::newRow("complaint on standard output")
            << QByteArray("#!/bin/sh\necho \"finger: $2: no such user.\"\nexit 1\n") << "";
    }

    void authorLookup()
    {
        QFETCH(QByteArray, finger);
        QFETCH(QString, expected);
        QTemporaryDir tools;
        if (!finger.isEmpty())
            QVERIFY(writeFile(tools.filePath(QStringLiteral("finger")), finger, true));
        const auto runner = runnerWithTools(tools.path());
        const QString name = onWorker([&] { return lookupAuthorName(*runner); });
        QCOMPARE(name, expected.isEmpty() ? accountFullName() : expected);
    }
};

QTEST_MAIN(TestIdentityScreen)
#include "TestIdentityScreen.moc"
