#include "app/BaseView.h"
#include "app/TextCatalog.h"
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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plinth;
using plinth::test::writeFile;

namespace {

const QByteArray fingerWithName = "#!/bin/sh\n"
                                  "printf 'Login: %s\\t\\t\\tName: Ada King Lovelace\\n' \"$2\"\n"
                                  "printf 'Directory: /home/ada\\t\\tShell: /bin/zsh\\nNo Plan.\\n'\n";

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

// Lets a fake finger that waits on `fifo` go on.
bool release(const QString &fifo)
{
    int fd = -1;
    if (!QTest::qWaitFor([&] { return (fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK)) >= 0; },
                         5000))
        return false;
    const bool written = ::write(fd, "\n", 1) == 1;
    ::close(fd);
    return written;
}

} // namespace

class TestIdentityScreen : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tools;
    ProjectDetailsModel m_details;
    bool m_previous = false;

    std::unique_ptr<ProjectDetailsInitialView> makeView(std::shared_ptr<CommandRunner> runner)
    {
        auto view = std::make_unique<ProjectDetailsInitialView>(
            std::make_unique<ProjectDetailsInitialViewModel>(m_details, std::move(runner)),
            FlagBinding{[this] { return m_previous; }, [this](bool value) { m_previous = value; }});
        view->show();
        return view;
    }

    QLineEdit *field(const ProjectDetailsInitialView &view, const char *name)
    {
        return view.findChild<QLineEdit *>(QLatin1String(name));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(writeFile(m_tools.filePath(QStringLiteral("finger")), fingerWithName, true));
    }

    void init()
    {
        m_details = ProjectDetailsModel();
        m_previous = false;
    }

    // The check's message under the field and Next, as the fields are typed.
    void productNameCheckAndNext_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("organisation");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("messageKey");
        QTest::addColumn<bool>("nextEnabled");
        QTest::newRow("accepted") << "MyApp" << "Tarnwick Solutions" << "Ada" << "" << true;
        QTest::newRow("small initial") << "myApp" << "T" << "Ada" << key::projectNameInitialSmallCaseFound << false;
        QTest::newRow("organisation cleared") << "MyApp" << "" << "Ada" << "" << false;
    }

    void productNameCheckAndNext()
    {
        QFETCH(QString, product);
        QFETCH(QString, organisation);
        QFETCH(QString, author);
        QFETCH(QString, messageKey);
        QFETCH(bool, nextEnabled);
        auto view = makeView(runnerWithTools(m_tools.path()));
        QTRY_VERIFY(!view->viewModel()->isLookingUpAuthorName());
        typeInto(field(*view, "productNameField"), product);
        typeInto(field(*view, "organisationsNameField"), organisation);
        typeInto(field(*view, "authorNameField"), author);
        auto *message = view->findChild<QLabel *>(QStringLiteral("productNameMessage"));
        const QString expected = messageKey.isEmpty() ? QString() : text(messageKey.toLatin1().constData());
        QCOMPARE(message->text(), expected);
        QCOMPARE(message->isVisible(), !expected.isEmpty());
        QCOMPARE(view->frame()->nextButton()->isEnabled(), nextEnabled);
    }

    // Return presses Next: the flag goes up and the four fields are written,
    // nothing else. A rejected name writes nothing, even if Next is asked for.
    void nextWritesTheIdentity()
    {
        auto view = makeView(runnerWithTools(m_tools.path()));
        QTRY_COMPARE(field(*view, "authorNameField")->text(), QStringLiteral("Ada King Lovelace"));
        m_details.selectedUI = QStringLiteral("kept");
        typeInto(field(*view, "productNameField"), QStringLiteral("demo"));
        view->viewModel()->next();
        QCoreApplication::processEvents();
        QVERIFY(!view->viewModel()->shouldGoToNext());
        QCOMPARE(m_details.projectName, QString());

        typeInto(field(*view, "productNameField"), QStringLiteral("Demo"));
        QCOMPARE(field(*view, "bundleIdentifierField")->text(), QStringLiteral("com.tarnwick.Demo"));
        QTest::keyClick(field(*view, "productNameField"), Qt::Key_Return);
        QTRY_VERIFY(view->viewModel()->shouldGoToNext());
        QCOMPARE(m_details.projectName, QStringLiteral("Demo"));
        QCOMPARE(m_details.bundleIdentifier, QStringLiteral("com.tarnwick.Demo"));
        QCOMPARE(m_details.organizationName, QStringLiteral("Tarnwick Solutions"));
        QCOMPARE(m_details.authorName, QStringLiteral("Ada King Lovelace"));
        QCOMPARE(m_details.selectedUI, QStringLiteral("kept"));

        QVERIFY(!view->frame()->cancelButton()->isVisible());
        QTest::mouseClick(view->frame()->previousButton(), Qt::LeftButton);
        QVERIFY(m_previous);
    }

    void authorLookup_data()
    {
        QTest::addColumn<QByteArray>("finger"); // empty: there is no finger
        QTest::addColumn<QString>("expected");  // empty: the account's full name
        QTest::newRow("finger knows the name") << fingerWithName << "Ada King Lovelace";
        QTest::newRow("line ends in CR LF") << QByteArray("#!/bin/sh\nprintf 'Login: ada\\tName: Ada Lovelace\\r\\n'\n")
                                            << "Ada Lovelace";
        QTest::newRow("no finger") << QByteArray() << "";
        QTest::newRow("finger prints nothing") << QByteArray("#!/bin/sh\nexit 0\n") << "";
        QTest::newRow("complaint on standard output")
            << QByteArray("#!/bin/sh\necho \"finger: $2: no such user.\"\nexit 1\n") << "";
        QTest::newRow("empty name field") << QByteArray("#!/bin/sh\nprintf 'Login: ada\\t\\tName: \\n'\n") << "";
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
        QVERIFY(!name.contains(QLatin1Char('\n')));
        QVERIFY(!name.contains(QLatin1String("finger")));
        QVERIFY(!name.contains(QLatin1String("not found")));
    }

    // What the user typed before the lookup came back is replaced.
    void lookupReplacesEarlierTypingOnce()
    {
        QTemporaryDir tools;
        const QString gate = tools.filePath(QStringLiteral("gate"));
        QCOMPARE(::mkfifo(QFile::encodeName(gate).constData(), 0600), 0);
        QVERIFY(writeFile(tools.filePath(QStringLiteral("finger")),
                          "#!/bin/sh\nread line < '" + gate.toUtf8() + "'\nprintf 'Login: ada\\tName: Ada Lovelace\\n'\n",
                          true));
        auto view = makeView(runnerWithTools(tools.path()));
        QLineEdit *author = field(*view, "authorNameField");
        typeInto(author, QStringLiteral("Someone"));
        QCOMPARE(view->viewModel()->authorName(), QStringLiteral("Someone"));
        QVERIFY(release(gate));
        QTRY_COMPARE(view->viewModel()->authorName(), QStringLiteral("Ada Lovelace"));
        QCOMPARE(author->text(), QStringLiteral("Ada Lovelace"));

        // A model dropped while its lookup runs never hears of the result.
        auto model = std::make_unique<ProjectDetailsInitialViewModel>(m_details, runnerWithTools(tools.path()));
        model.reset();
        QVERIFY(release(gate));
        QVERIFY(QThreadPool::globalInstance()->waitForDone(5000));
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(TestIdentityScreen)
#include "TestIdentityScreen.moc"
