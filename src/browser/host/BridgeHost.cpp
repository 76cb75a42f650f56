#include "browser/host/BridgeHost.h"

#include "browser/host/BrowserPort.h"
#include "platform/browser/BridgeFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QLoggingCategory>

#include <memory>

namespace {

Q_LOGGING_CATEGORY(lcHost, "sitepins.bridge.host")

constexpr qint64 kReadChunkSize = 64 * 1024;
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

BridgeHost::BridgeHost(const QString &folder, BrowserPort &browser, QObject *parent)
    : QObject(parent)
    , m_folder(folder)
    , m_browser(browser)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &BridgeHost::acceptConnections);
    connect(&m_browser, &BrowserPort::received, this, &BridgeHost::handleBrowserMessage);
    m_expiryTimer.setInterval(kExpirySweepMs);
    connect(&m_expiryTimer, &QTimer::timeout, this, &BridgeHost::dropExpired);
}

BridgeHost::~BridgeHost() = default;

QString BridgeHost::socketPath() const
{
    return QDir(m_folder).filePath(BridgeFolder::hostSocketName(QCoreApplication::applicationPid()));
}

bool BridgeHost::listen(QString *error)
{
    // A file with our process id can only be left by a dead process that had it.
    QLocalServer::removeServer(socketPath());
    // With access options set, Qt listens in a private temporary folder and
    // renames the socket into place: it appears only once it answers.
    if (m_server.listen(socketPath()))
        return true;
    if (error)
        *error = m_server.errorString();
    return false;
}

void BridgeHost::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        if (m_connections >= kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_connections;
        auto codec = std::make_shared<FrameCodec>(FrameCodec::kDefaultMaxPayloadSize);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, codec] { readFrom(*socket, *codec); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            --m_connections;
            socket->deleteLater();
        });
    }
}

void BridgeHost::readFrom(QLocalSocket &socket, FrameCodec &codec)
{
    while (socket.state() == QLocalSocket::ConnectedState && socket.bytesAvailable() > 0) {
        codec.append(socket.read(kReadChunkSize));
        Message message;
        FrameCodec::Status status;
        while ((status = codec.decodeNext(message)) == FrameCodec::Status::MessageReady) {
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(message.payload, &error);
            if (!message.is(MessageType::BridgeRequest) || !document.isObject() ||
                !document.object().value(QStringLiteral("id")).isDouble()) {
                status = FrameCodec::Status::Invalid;
                break;
            }
            handleRequest(socket, document.object());
        }
        if (status == FrameCodec::Status::Invalid) {
            const QString reason =
                codec.error() == FrameCodec::Error::None ? QStringLiteral("Not a bridge request") : codec.errorString();
            qCWarning(lcHost) << "Dropping a connection:" << reason;
            socket.abort();
            return;
        }
    }
}

void BridgeHost::handleRequest(QLocalSocket &socket, const QJsonObject &request)
{
    const QJsonValue clientId = request.value(QStringLiteral("id"));
    const QString command = commandOf(request);
    if (command == u"status") {
        reply(socket, clientId,
              {{QStringLiteral("ok"), true},
               {QStringLiteral("pid"), QCoreApplication::applicationPid()},
               {QStringLiteral("extension"), m_extensionId},
               {QStringLiteral("userAgent"), m_userAgent},
               {QStringLiteral("focusedAt"), m_focusedAt}});
    } else if (command == u"list" || command == u"open" || command == u"openBlank" || command == u"close") {
        if (isWellFormed(request))
            forwardToBrowser(socket, clientId, browserRequest(request));
        else
            replyError(socket, clientId, QStringLiteral("bad request"));
    } else {
        replyError(socket, clientId, QStringLiteral("unknown command"));
    }
}

void BridgeHost::forwardToBrowser(QLocalSocket &socket, const QJsonValue &clientId, QJsonObject request)
{
    if (pendingFor(socket) >= kMaxPendingPerConnection) {
        replyError(socket, clientId, QStringLiteral("busy"));
        return;
    }
    const qint64 browserId = m_nextBrowserId++;
    request.insert(QStringLiteral("id"), browserId);
    if (!m_browser.send(request)) {
        replyError(socket, clientId, QStringLiteral("the browser cannot take the request"));
        return;
    }
    m_pending[browserId] = {&socket, clientId, QDeadlineTimer(kPendingLifetimeMs)};
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
    if (asker.socket)
        reply(*asker.socket, asker.clientId, message);
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
        // The toolbar button and page menu entry will hand the page they were
        // used on to the running program from here; until then there is no
        // one to give it to.
        qCInfo(lcHost) << "Capture requests are not handled yet";
    }
}

void BridgeHost::reply(QLocalSocket &socket, const QJsonValue &clientId, QJsonObject reply)
{
    reply.insert(QStringLiteral("id"), clientId);
    QByteArray payload = QJsonDocument(reply).toJson(QJsonDocument::Compact);
    if (payload.size() > FrameCodec::kDefaultMaxPayloadSize)
        payload = QJsonDocument(QJsonObject{{QStringLiteral("id"), clientId},
                                            {QStringLiteral("ok"), false},
                                            {QStringLiteral("error"), QStringLiteral("reply too large")}})
                      .toJson(QJsonDocument::Compact);
    socket.write(FrameCodec::encode(Message{quint8(MessageType::BridgeReply), payload}));
}

void BridgeHost::replyError(QLocalSocket &socket, const QJsonValue &clientId, const QString &error)
{
    reply(socket, clientId, {{QStringLiteral("ok"), false}, {QStringLiteral("error"), error}});
}

int BridgeHost::pendingFor(const QLocalSocket &socket) const
{
    return int(std::count_if(m_pending.begin(), m_pending.end(),
                             [&socket](const auto &entry) { return entry.second.socket == &socket; }));
}

void BridgeHost::dropExpired()
{
    std::erase_if(m_pending,
                  [](const auto &entry) { return !entry.second.socket || entry.second.expiry.hasExpired(); });
    if (m_pending.empty())
        m_expiryTimer.stop();
}
