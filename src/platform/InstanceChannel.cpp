#include "platform/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QThread>

#include <limits>

namespace {

Q_LOGGING_CATEGORY(lcChannel, "sitepins.instancechannel")

// Reading in pieces and decoding after each keeps what a connection buffers
// to one incomplete frame plus one piece, whatever the peer sends.
constexpr qint64 kReadChunkSize = 64 * 1024;
constexpr int kConnectRetryMs = 50;

int remainingMs(const QDeadlineTimer &deadline)
{
    const qint64 remaining = deadline.remainingTime();
    return remaining < 0 ? -1 : int(qMin<qint64>(remaining, std::numeric_limits<int>::max()));
}

} // namespace

InstanceChannel::InstanceChannel(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_folder(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::socketPath() const
{
    return QDir(m_folder).filePath(m_name + QStringLiteral(".socket"));
}

QString InstanceChannel::lockFilePath() const
{
    return QDir(m_folder).filePath(m_name + QStringLiteral(".lock"));
}

bool InstanceChannel::isPrimary() const
{
    return m_server && m_server->isListening();
}

bool InstanceChannel::tryBecomePrimary()
{
    if (isPrimary())
        return true;
    if (!QDir().mkpath(m_folder)) {
        m_errorString = QStringLiteral("Cannot create %1").arg(m_folder);
        return false;
    }
    // The lock, not the socket, decides who is primary: a socket file outlives
    // a crashed process, and probing it by connecting races with a primary
    // that has taken the lock but is not listening yet.
    auto lock = std::make_unique<QLockFile>(lockFilePath());
    // Only a dead owner makes the lock stale; by default QLockFile would also
    // take over a lock older than 30 seconds, i.e. any long-running primary.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        m_heldByAnother = lock->error() == QLockFile::LockFailedError;
        m_errorString = m_heldByAnother ? QStringLiteral("Another instance is running")
                                        : QStringLiteral("Cannot create the lock file %1").arg(lockFilePath());
        return false;
    }
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, any socket file here was left by a primary that died.
    // (With these socket options Qt renames its socket over it anyway; without
    // them listen() would refuse.)
    QLocalServer::removeServer(socketPath());
    if (!server->listen(socketPath())) {
        m_errorString = server->errorString();
        return false;
    }
    connect(server.get(), &QLocalServer::newConnection, this, &InstanceChannel::acceptConnections);
    m_lock = std::move(lock);
    m_server = std::move(server);
    return true;
}

void InstanceChannel::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        // The decoder lives as long as the socket's connection to this lambda.
        auto codec = std::make_shared<FrameCodec>(m_maxPayloadSize);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, codec] { readFrom(*socket, *codec); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void InstanceChannel::readFrom(QLocalSocket &socket, FrameCodec &codec)
{
    while (socket.bytesAvailable() > 0) {
        codec.append(socket.read(kReadChunkSize));
        Message message;
        FrameCodec::Status status;
        while ((status = codec.decodeNext(message)) == FrameCodec::Status::MessageReady) {
            if (message.is(MessageType::Ack))
                continue;
            socket.write(FrameCodec::encode(Message::ack()));
            // The sender is blocked waiting for this; do not leave it to the
            // next turn of the event loop, which a slow receiver may delay.
            socket.flush();
            // Queued, so that the receiver never runs inside this socket's
            // handler: it may open dialogs and spin event loops of its own.
            QMetaObject::invokeMethod(
                this, [this, message] { emit messageReceived(message); }, Qt::QueuedConnection);
        }
        if (status == FrameCodec::Status::Invalid) {
            qCWarning(lcChannel) << "Dropping a connection:" << codec.errorString();
            socket.abort();
            socket.deleteLater();
            return;
        }
    }
}

bool InstanceChannel::sendToPrimary(const Message &message, int timeoutMs)
{
    if (isPrimary()) {
        m_errorString = QStringLiteral("This instance is the primary one");
        return false;
    }
    if (message.payload.size() > m_maxPayloadSize) {
        m_errorString = QStringLiteral("Message larger than %1 bytes").arg(m_maxPayloadSize);
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs));
    QLocalSocket socket;
    // A primary that has just taken the lock may not be listening yet.
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(remainingMs(deadline)))
            break;
        if (deadline.hasExpired()) {
            m_errorString = socket.errorString();
            return false;
        }
        socket.abort();
        QThread::msleep(kConnectRetryMs);
    }
    socket.write(FrameCodec::encode(message));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline))) {
            m_errorString = socket.errorString();
            return false;
        }
    }
    FrameCodec replies(0);
    for (;;) {
        Message reply;
        const FrameCodec::Status status = replies.decodeNext(reply);
        if (status == FrameCodec::Status::MessageReady && reply.is(MessageType::Ack)) {
            socket.disconnectFromServer();
            return true;
        }
        if (status == FrameCodec::Status::Invalid) {
            m_errorString = replies.errorString();
            return false;
        }
        if (status == FrameCodec::Status::NeedMoreData && !socket.waitForReadyRead(remainingMs(deadline))) {
            m_errorString = socket.errorString();
            return false;
        }
        replies.append(socket.readAll());
    }
}
