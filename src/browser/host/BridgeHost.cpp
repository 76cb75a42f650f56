#include "browser/host/BridgeHost.h"

#include "browser/host/BrowserPort.h"
#include "browser/host/CaptureRelay.h"
#include "platform/CapturedPage.h"
#include "platform/browser/BridgeFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QLoggingCategory>

namespace {

Q_LOGGING_CATEGORY(lcHost, "sitepins.bridge.host")

constexpr int kExpirySweepMs = 5000;

QString commandOf(const QJsonObject &request)
{
    return request.value(QStringLiteral("cmd")).toString();
}

// Only what each command needs goes on to the browser.
bool isWellFormed(const QJsonObject &request)
{
    const QString command = commandOf(request);
    if (command == u"open")
        return request.value(QStringLiteral("url")).isString();
    if (command == u"close")
        return request.value(QStringLiteral("tabId")).isDouble();
    return true;
}

QJsonObject browserRequest(const QJsonObject &request)
{
    QJsonObject forwarded{{QStringLiteral("cmd"), commandOf(request)}};
    for (const QString &field : {QStringLiteral("url"), QStringLiteral("tabId")}) {
        if (request.contains(field))
            forwarded.insert(field, request.value(field));
    }
    return forwarded;
}

} // namespace

BridgeHost::BridgeHost(const QString &folder, BrowserPort &browser, CaptureRelay *capture, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_browser(browser)
    , m_capture(capture)
    , m_server(limits())
{
    connect(&m_server, &FrameServer::frameReceived, this, &BridgeHost::receive);
    connect(&m_browser, &BrowserPort::received, this, &BridgeHost::handleBrowserMessage);
    m_expiryTimer.setInterval(kExpirySweepMs);
    connect(&m_expiryTimer, &QTimer::timeout, this, &BridgeHost::dropExpired);
}

BridgeHost::~BridgeHost() = default;

FrameServerLimits BridgeHost::limits()
{
    FrameServerLimits limits;
    limits.maxConnections = kMaxConnections;
    // The program asks and goes; one that stays costs a place the cap
    // takes back when needed.
    limits.idleTimeoutMs = -1;
    return limits;
}

QString BridgeHost::socketPath() const
{
    return QDir(m_folder).filePath(BridgeFolder::hostSocketName(QCoreApplication::applicationPid()));
}

// A file with our process id can only be left by a dead process that had
// it, and the server replaces it.
bool BridgeHost::listen(QString *error)
{
    if (m_server.listen(socketPath()))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

void BridgeHost::receive(ConnectionId connection, const Message &message)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(message.payload, &error);
    if (!message.is(MessageType::BridgeRequest) || !document.isObject() ||
        !document.object().value(QStringLiteral("id")).isDouble()) {
        qCWarning(lcHost) << "Dropping a connection: Not a bridge request";
        m_server.closeConnection(connection);
        return;
    }
    handleRequest(connection, document.object());
}

void BridgeHost::handleRequest(ConnectionId connection, const QJsonObject &request)
{
    const QJsonValue clientId = request.value(QStringLiteral("id"));
    const QString command = commandOf(request);
    if (command == u"status") {
        reply(connection, clientId,
              {{QStringLiteral("ok"), true},
               {QStringLiteral("pid"), QCoreApplication::applicationPid()},
               {QStringLiteral("extension"), m_extensionId},
               {QStringLiteral("userAgent"), m_userAgent},
               {QStringLiteral("focusedAt"), m_focusedAt}});
    } else if (command == u"list" || command == u"open" || command == u"openBlank" || command == u"close") {
        if (isWellFormed(request))
            forwardToBrowser(connection, clientId, browserRequest(request));
        else
            replyError(connection, clientId, QStringLiteral("bad request"));
    } else {
        replyError(connection, clientId, QStringLiteral("unknown command"));
    }
}

void BridgeHost::forwardToBrowser(ConnectionId connection, const QJsonValue &clientId, QJsonObject request)
{
    if (pendingFor(connection) >= kMaxPendingPerConnection) {
        replyError(connection, clientId, QStringLiteral("busy"));
        return;
    }
    const qint64 browserId = m_nextBrowserId++;
    request.insert(QStringLiteral("id"), browserId);
    if (!m_browser.send(request)) {
        replyError(connection, clientId, QStringLiteral("the browser cannot take the request"));
        return;
    }
    m_pending[browserId] = {connection, clientId, QDeadlineTimer(kPendingLifetimeMs)};
    if (!m_expiryTimer.isActive())
        m_expiryTimer.start();
}

void BridgeHost::handleBrowserMessage(const QJsonObject &message)
{
    if (message.contains(QStringLiteral("event"))) {
        handleBrowserEvent(message);
        return;
    }
    const auto pending = m_pending.find(message.value(QStringLiteral("id")).toInteger(-1));
    if (pending == m_pending.end())
        return; // expired, or its connection is gone
    const Pending asker = pending->second;
    m_pending.erase(pending);
    reply(asker.connection, asker.clientId, message);
}

void BridgeHost::handleBrowserEvent(const QJsonObject &event)
{
    const QString kind = event.value(QStringLiteral("event")).toString();
    if (kind == u"hello") {
        m_extensionId = event.value(QStringLiteral("extension")).toString();
        m_userAgent = event.value(QStringLiteral("userAgent")).toString();
    } else if (kind == u"focus") {
        m_focusedAt = event.value(QStringLiteral("at")).toInteger();
    } else if (kind == u"capture") {
        const auto page = CapturedPage::make(event.value(QStringLiteral("url")).toString(),
                                             event.value(QStringLiteral("title")).toString());
        if (!page)
            qCWarning(lcHost) << "Passing over a page that cannot be kept";
        else if (m_capture)
            m_capture->capture(*page);
    }
}

void BridgeHost::reply(ConnectionId connection, const QJsonValue &clientId, QJsonObject reply)
{
    reply.insert(QStringLiteral("id"), clientId);
    QByteArray payload = QJsonDocument(reply).toJson(QJsonDocument::Compact);
    if (payload.size() > FrameCodec::kDefaultMaxPayloadSize)
        payload = QJsonDocument(QJsonObject{{QStringLiteral("id"), clientId},
                                            {QStringLiteral("ok"), false},
                                            {QStringLiteral("error"), QStringLiteral("reply too large")}})
                      .toJson(QJsonDocument::Compact);
    m_server.send(connection, Message{quint8(MessageType::BridgeReply), payload});
}

void BridgeHost::replyError(ConnectionId connection, const QJsonValue &clientId, const QString &error)
{
    reply(connection, clientId, {{QStringLiteral("ok"), false}, {QStringLiteral("error"), error}});
}

int BridgeHost::pendingFor(ConnectionId connection) const
{
    return int(std::count_if(m_pending.begin(), m_pending.end(),
                             [connection](const auto &entry) { return entry.second.connection == connection; }));
}

void BridgeHost::dropExpired()
{
    std::erase_if(m_pending, [this](const auto &entry) {
        return !m_server.hasConnection(entry.second.connection) || entry.second.expiry.hasExpired();
    });
    if (m_pending.empty())
        m_expiryTimer.stop();
}
