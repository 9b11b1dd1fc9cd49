#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace plinth::test {

/// Answers every request on a loopback port with one fixed HTTP response:
/// the recorded page of a test, served as the page's web server would.
class PageServer : public QTcpServer
{
public:
    explicit PageServer(QByteArray body, QByteArray status = "200 OK", QByteArray contentType = "text/html")
        : m_status(std::move(status))
        , m_contentType(std::move(contentType))
        , m_body(std::move(body))
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    m_request += socket->readAll();
                    if (!m_request.contains("\r\n\r\n"))
                        return;
                    m_request.clear();
                    ++m_requests;
                    if (m_stalled)
                        return; // the connection stays open, unanswered
                    socket->write("HTTP/1.1 " + m_status + "\r\nContent-Type: " + m_contentType
                                  + "\r\nContent-Length: " + QByteArray::number(m_body.size())
                                  + "\r\nConnection: close\r\n\r\n" + m_body);
                    socket->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }

    QUrl url(const QString &path = QStringLiteral("/")) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }
    int requests() const { return m_requests; }
    /// From now on requests are read but never answered.
    void stall() { m_stalled = true; }

private:
    QByteArray m_status;
    QByteArray m_contentType;
    QByteArray m_body;
    QByteArray m_request;
    int m_requests = 0;
    bool m_stalled = false;
};

} // namespace plinth::test
