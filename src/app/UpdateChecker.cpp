#include "app/UpdateChecker.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QVersionNumber>
#include <QXmlStreamReader>

namespace plinth {

namespace {

constexpr int transferTimeoutMilliseconds = 15000;

QString quoted(const QString &value)
{
    QString escaped = value;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString KWVersionInfo::description() const
{
    return QStringLiteral("KWVersionInfo(currentVersion: %1, latestVersion: %2, downloadURL: %3, releaseNotes: %4, "
                          "isUpdateAvailable: %5, isForceUpdate: %6, error: %7)")
        .arg(quoted(currentVersion), quoted(latestVersion), quoted(downloadURL), quoted(releaseNotes),
             isUpdateAvailable ? QStringLiteral("true") : QStringLiteral("false"),
             isForceUpdate ? QStringLiteral("true") : QStringLiteral("false"), quoted(error));
}

UpdateChecker::UpdateChecker(const QString &currentVersion, QObject *parent)
    : QObject(parent)
    , m_currentVersion(currentVersion)
    , m_network(new QNetworkAccessManager(this))
{
}

UpdateChecker::~UpdateChecker() = default;

UpdateChecker &UpdateChecker::shared()
{
    static UpdateChecker *checker = new UpdateChecker(QCoreApplication::applicationVersion(), qApp);
    return *checker;
}

KWVersionInfo UpdateChecker::parseFeed(const QByteArray &feed, const QString &currentVersion, bool isForceUpdate)
{
    KWVersionInfo info;
    info.currentVersion = currentVersion;
    info.isForceUpdate = isForceUpdate;

    QString minimumVersion;
    QXmlStreamReader xml(feed);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("release")) {
        info.error = QStringLiteral("The release feed is not a <release> document.");
        return info;
    }
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == QLatin1String("version"))
            info.latestVersion = xml.readElementText().trimmed();
        else if (name == QLatin1String("url"))
            info.downloadURL = xml.readElementText().trimmed();
        else if (name == QLatin1String("notes"))
            info.releaseNotes = xml.readElementText().trimmed();
        else if (name == QLatin1String("minimumVersion"))
            minimumVersion = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError()) {
        info.error = QStringLiteral("The release feed cannot be read: %1").arg(xml.errorString());
        return info;
    }
    const QVersionNumber latest = QVersionNumber::fromString(info.latestVersion);
    if (latest.isNull()) {
        info.error = QStringLiteral("The release feed names no version.");
        return info;
    }
    const QVersionNumber current = QVersionNumber::fromString(currentVersion);
    info.isUpdateAvailable = latest > current;
    const QVersionNumber minimum = QVersionNumber::fromString(minimumVersion);
    if (!minimum.isNull() && current < minimum)
        info.isForceUpdate = true;
    return info;
}

void UpdateChecker::performManualMacAppVersionCheck(const QUrl &url, bool isForceUpdate,
                                                    std::function<void(const KWVersionInfo &)> completion)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMilliseconds);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = m_network->get(request);
    const QString currentVersion = m_currentVersion;
    connect(reply, &QNetworkReply::finished, this, [reply, currentVersion, isForceUpdate, completion] {
        reply->deleteLater();
        KWVersionInfo info;
        if (reply->error() != QNetworkReply::NoError) {
            info.currentVersion = currentVersion;
            info.isForceUpdate = isForceUpdate;
            info.error = reply->errorString();
        } else {
            info = parseFeed(reply->readAll(), currentVersion, isForceUpdate);
        }
        if (completion)
            completion(info);
    });
}

} // namespace plinth
