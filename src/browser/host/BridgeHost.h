#pragma once

#include "platform/FrameServer.h"

#include <QDeadlineTimer>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <map>

class BrowserPort;
class CaptureRelay;

// Between the program and one browser: listens on host-<pid>.socket in the
// bridge folder, passes the program's requests on to the extension under
// ids of its own (several program connections may use the same ids), and
// hands each reply back to the connection that asked. A page the user asks
// to keep (the extension's button or page menu) goes to the program.
class BridgeHost : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxConnections = 16;
    static constexpr int kMaxPendingPerConnection = 16;
    // A browser that never answers must not make us remember forever.
    static constexpr int kPendingLifetimeMs = 30000;

    // capture may be null: pages asked for are then passed over.
    BridgeHost(const QString &folder, BrowserPort &browser, CaptureRelay *capture, QObject *parent = nullptr);
    ~BridgeHost() override;

    bool listen(QString *error);
    QString socketPath() const;
    // The program's connections: one request at a time, each sent whole
    // within the frame deadline; between requests they may stay open.
    static FrameServerLimits limits();

private:
    using ConnectionId = FrameServer::ConnectionId;

    struct Pending
    {
        ConnectionId connection = 0;
        QJsonValue clientId;
        QDeadlineTimer expiry;
    };

    void receive(ConnectionId connection, const Message &message);
    void handleRequest(ConnectionId connection, const QJsonObject &request);
    void forwardToBrowser(ConnectionId connection, const QJsonValue &clientId, QJsonObject request);
    void handleBrowserMessage(const QJsonObject &message);
    void handleBrowserEvent(const QJsonObject &event);
    void reply(ConnectionId connection, const QJsonValue &clientId, QJsonObject reply);
    void replyError(ConnectionId connection, const QJsonValue &clientId, const QString &error);
    int pendingFor(ConnectionId connection) const;
    void dropExpired();

    QString m_folder;
    BrowserPort &m_browser;
    CaptureRelay *m_capture;
    FrameServer m_server;
    qint64 m_nextBrowserId = 1;
    std::map<qint64, Pending> m_pending;
    QTimer m_expiryTimer;
    // What the extension told us about itself and its browser.
    QString m_extensionId;
    QString m_userAgent;
    qint64 m_focusedAt = 0;
};
