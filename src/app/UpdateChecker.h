#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

namespace plinth {

/// What one update check found out.
struct KWVersionInfo
{
    QString currentVersion;  ///< the running version
    QString latestVersion;   ///< the version the feed offers; empty when unknown
    QString downloadURL;     ///< where the latest version can be had
    QString releaseNotes;
    bool isUpdateAvailable = false;
    bool isForceUpdate = false; ///< asked for, or required by the feed's minimum version
    QString error;              ///< why the check failed; empty on success

    /// The plain printed form: "KWVersionInfo(currentVersion: ..., ...)".
    QString description() const;
};

/// Asks the release feed whether a newer Plinth exists. The feed is a small
/// XML document:
///   <release><version>1.2.0</version><url>…</url><notes>…</notes>
///            <minimumVersion>1.0.0</minimumVersion></release>
/// (url, notes and minimumVersion optional). Lives on the main thread; the
/// request is asynchronous and never blocks it.
class UpdateChecker : public QObject
{
    Q_OBJECT

public:
    explicit UpdateChecker(const QString &currentVersion, QObject *parent = nullptr);
    ~UpdateChecker() override;

    /// The checker of the running program, made on first use on the main thread.
    static UpdateChecker &shared();

    /// Fetches `url` and hands what it found to `completion` on this
    /// object's thread, also when the fetch or the feed fails.
    void performManualMacAppVersionCheck(const QUrl &url, bool isForceUpdate,
                                         std::function<void(const KWVersionInfo &)> completion);

    /// Reads a feed document; fills everything but the network error.
    static KWVersionInfo parseFeed(const QByteArray &feed, const QString &currentVersion, bool isForceUpdate);

private:
    QString m_currentVersion;
    QNetworkAccessManager *m_network;
};

} // namespace plinth
