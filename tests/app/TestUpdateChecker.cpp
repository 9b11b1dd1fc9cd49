#include "app/UpdateChecker.h"
#include "tools/PageServer.h"

#include <QtTest>

using namespace plinth;

using test::PageServer;

// The answer of the check only goes to the console (AppDelegate), so what
// matters is that the check made at every launch answers later and without
// harm, from a feed as without a network.
class TestUpdateChecker : public QObject
{
    Q_OBJECT

private slots:
    // A feed served, or no server at all as for a launch without a network:
    // the answer comes, later, and a forced check stays forced whatever
    // went wrong.
    void checkAnswersAsynchronously_data()
    {
        QTest::addColumn<QByteArray>("status"); // empty: nothing listens
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("latest");
        QTest::newRow("feed") << QByteArray("200 OK")
                              << QByteArray("<?xml version=\"1.0\"?><release><version>3.1.0</version>"
                                            "<notes>Faster &amp; smaller</notes></release>")
                              << false << "3.1.0";
        QTest::newRow("unreachable, forced") << QByteArray() << QByteArray() << true << "";
    }

    void checkAnswersAsynchronously()
    {
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, forced);
        QFETCH(QString, latest);
        PageServer server(body, status, "application/xml");
        QVERIFY(server.isListening());
        const QUrl url = server.url(QStringLiteral("/Release/version.xml"));
        if (status.isEmpty())
            server.close();
        UpdateChecker checker(QStringLiteral("1.0.0"));
        std::optional<KWVersionInfo> received;
        checker.performManualMacAppVersionCheck(url, forced, [&](const KWVersionInfo &info) { received = info; });
        QVERIFY(!received); // the call itself never waits for the answer
        QTRY_VERIFY_WITH_TIMEOUT(received.has_value(), 10000);
        QCOMPARE(received->latestVersion, latest);
        QCOMPARE(received->error.isEmpty(), !latest.isEmpty());
        QCOMPARE(received->isForceUpdate, forced);
        QCOMPARE(received->isUpdateAvailable, !latest.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUpdateChecker)
#include "TestUpdateChecker.moc"
