#include "app/UpdateChecker.h"
#include "tools/PageServer.h"

#include <QtTest>

using namespace plinth;

using test::PageServer;

class TestUpdateChecker : public QObject
{
    Q_OBJECT

private slots:
    void feedIsCompared_data()
    {
        QTest::addColumn<QByteArray>("feed");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<bool>("failed");
        const auto row = [](const char *tag, const char *release, const char *current, bool available, bool forced,
                            bool failed) {
            QTest::newRow(tag) << QByteArray(release) << QString(current) << available << forced << failed;
        };
        row("newer", "<release><version>1.2.0</version><url>u</url></release>", "1.1.9", true, false, false);
        row("same", "<release><version>1.2</version></release>", "1.2.0", false, false, false);
        row("older feed", "<release><version>0.9.0</version></release>", "1.0.0", false, false, false);
        row("numeric, not text, order", "<release><version>1.10.0</version></release>", "1.9.0", true, false, false);
        row("below minimum forces", "<release><version>2.0.0</version><minimumVersion>1.5.0</minimumVersion></release>",
            "1.4.0", true, true, false);
        row("no version", "<release><url>u</url></release>", "1.0.0", false, false, true);
        row("not a feed", "<html><body>Not found</body></html>", "1.0.0", false, false, true);
        row("broken XML", "<release><version>1.2", "1.0.0", false, false, true);
    }

    void feedIsCompared()
    {
        QFETCH(QByteArray, feed);
        QFETCH(QString, current);
        QFETCH(bool, available);
        QFETCH(bool, forced);
        QFETCH(bool, failed);
        const KWVersionInfo info = UpdateChecker::parseFeed(feed, current, false);
        QCOMPARE(info.isUpdateAvailable, available);
        QCOMPARE(info.isForceUpdate, forced);
        QCOMPARE(!info.error.isEmpty(), failed);
        QCOMPARE(info.currentVersion, current);
    }

    // The answer always comes, later: from a feed, a missing feed, or no
    // server at all; a forced check stays forced whatever went wrong.
    void checkAnswersAsynchronously_data()
    {
        QTest::addColumn<QByteArray>("status"); // empty: nothing listens
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("latest");
        QTest::addColumn<bool>("failed");
        QTest::newRow("feed") << QByteArray("200 OK")
                              << QByteArray("<?xml version=\"1.0\"?><release><version>3.1.0</version>"
                                            "<notes>Faster &amp; smaller</notes></release>")
                              << false << "3.1.0" << false;
        QTest::newRow("missing feed") << QByteArray("404 Not Found") << QByteArray("gone") << false << "" << true;
        QTest::newRow("unreachable, forced") << QByteArray() << QByteArray() << true << "" << true;
    }

    void checkAnswersAsynchronously()
    {
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, forced);
        QFETCH(QString, latest);
        QFETCH(bool, failed);
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
        QCOMPARE(!received->error.isEmpty(), failed);
        QCOMPARE(received->isForceUpdate, forced);
        QVERIFY(received->description().startsWith(QStringLiteral("KWVersionInfo(currentVersion: \"1.0.0\"")));
        if (!failed)
            QCOMPARE(received->releaseNotes, QStringLiteral("Faster & smaller"));
    }
};

QTEST_GUILESS_MAIN(TestUpdateChecker)
#include "TestUpdateChecker.moc"
