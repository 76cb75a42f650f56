#pragma once

#include "platform/FrameCodec.h"

#include <QDeadlineTimer>
#include <QJsonObject>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <map>

class BrowserPort;
class QLocalSocket;

// Between the program and one browser: listens on host-<pid>.socket in the
// bridge folder, passes the program's requests on to the extension under
// ids of its own (several program connections may use the same ids), and
// hands each reply back to the connection that asked.
class BridgeHost : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxConnections = 16;
    static constexpr int kMaxPendingPerConnection = 16;
    // A browser that never answers must not make us remember forever.
    static constexpr int kPendingLifetimeMs = 30000;

    BridgeHost(const QString &folder, BrowserPort &browser, QObject *parent = nullptr);
    ~BridgeHost() override;

    bool listen(QString *error);
    QString socketPath() const;

private:
    struct Pending
    {
        QPointer<QLocalSocket> socket;
        QJsonValue clientId;
        QDeadlineTimer expiry;
    };

    void acceptConnections();
    void readFrom(QLocalSocket &socket, FrameCodec &codec);
    void handleRequest(QLocalSocket &socket, const QJsonObject &request);
    void forwardToBrowser(QLocalSocket &socket, const QJsonValue &clientId, QJsonObject request);
    void handleBrowserMessage(const QJsonObject &message);
    void handleBrowserEvent(const QJsonObject &event);
    static void reply(QLocalSocket &socket, const QJsonValue &clientId, QJsonObject reply);
    static void replyError(QLocalSocket &socket, const QJsonValue &clientId, const QString &error);
    int pendingFor(const QLocalSocket &socket) const;
    void dropExpired();

    QString m_folder;
    BrowserPort &m_browser;
    QLocalServer m_server;
    int m_connections = 0;
    qint64 m_nextBrowserId = 1;
    std::map<qint64, Pending> m_pending;
    QTimer m_expiryTimer;
    // What the extension told us about itself and its browser.
    QString m_extensionId;
    QString m_userAgent;
    qint64 m_focusedAt = 0;
};
