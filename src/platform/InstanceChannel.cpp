#include "platform/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QThread>

#include <limits>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(lcChannel, "sitepins.instancechannel")

constexpr int kConnectRetryMs = 50;
// A starting instance writes its lock file right after creating it; one that
// is still unreadable after this is not being written.
constexpr int kUnreadableLockGraceMs = 100;
constexpr int kProbeTimeoutMs = 100;
constexpr int kTakeOverWaitMs = 1000;

int remainingMs(const QDeadlineTimer &deadline)
{
    const qint64 remaining = deadline.remainingTime();
    return remaining < 0 ? -1 : int(qMin<qint64>(remaining, std::numeric_limits<int>::max()));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(4096) : QByteArray();
}

// One connection, one frame, one answer of the expected type; nothing on
// anything else. `sent` tells whether the frame went out whole.
std::optional<Message> exchange(const QString &socketPath, const Message &message, MessageType answer,
                                const QDeadlineTimer &deadline, QString &error, bool &sent)
{
    sent = false;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(remainingMs(deadline))) {
        error = socket.errorString();
        return std::nullopt;
    }
    socket.write(FrameCodec::encode(message));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline))) {
            error = socket.errorString();
            return std::nullopt;
        }
    }
    sent = true;
    // An acknowledgement carries nothing; a command's reply carries its text.
    FrameCodec replies(answer == MessageType::Ack ? 0 : FrameCodec::kDefaultMaxPayloadSize);
    for (;;) {
        Message reply;
        const FrameCodec::Status status = replies.decodeNext(reply);
        if (status == FrameCodec::Status::MessageReady && reply.is(answer)) {
            socket.disconnectFromServer();
            return reply;
        }
        if (status == FrameCodec::Status::Invalid) {
            error = replies.errorString();
            return std::nullopt;
        }
        if (status == FrameCodec::Status::NeedMoreData && !socket.waitForReadyRead(remainingMs(deadline))) {
            error = socket.errorString();
            return std::nullopt;
        }
        replies.append(socket.readAll());
    }
}

} // namespace

InstanceChannel::InstanceChannel(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_folder(RuntimeFolder::locate())
{
    m_handOverTimer.setSingleShot(true);
    connect(&m_handOverTimer, &QTimer::timeout, this, &InstanceChannel::deliverHandOver);
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::socketPath() const
{
    return m_folder.filePath(m_name + QStringLiteral(".socket"));
}

QString InstanceChannel::lockFilePath() const
{
    return m_folder.filePath(m_name + QStringLiteral(".lock"));
}

bool InstanceChannel::isPrimary() const
{
    return m_server && m_server->isListening();
}

bool InstanceChannel::tryBecomePrimary()
{
    if (isPrimary())
        return true;
    m_heldByAnother = false;
    if (!m_folder.isValid()) {
        m_errorString =
            QStringLiteral("there is no private folder for its lock and socket (%1)").arg(m_folder.errorString());
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
        if (lock->error() != QLockFile::LockFailedError) {
            m_errorString = QStringLiteral("Cannot create the lock file %1").arg(lockFilePath());
            return false;
        }
        if (!takeOverUnreadableLock(*lock)) {
            m_heldByAnother = true;
            m_errorString = QStringLiteral("Another instance is running");
            return false;
        }
    }
    auto server = std::make_unique<FrameServer>(m_limits);
    if (!server->listen(socketPath())) {
        m_errorString = server->errorString();
        return false;
    }
    connect(server.get(), &FrameServer::frameReceived, this, &InstanceChannel::receive);
    m_lock = std::move(lock);
    m_server = std::move(server);
    return true;
}

bool InstanceChannel::lockIsReadable(const QLockFile &lock) const
{
    qint64 pid = 0;
    QString hostname, appname;
    // PID 0 would always pass for alive: kill(0, 0) signals our own group.
    return lock.getLockInfo(&pid, &hostname, &appname) && pid > 0;
}

// QLockFile never takes a lock file over that it cannot read (empty, garbage,
// PID 0), so one such file would keep every start out for good. One that
// stays unreadable for a moment, with nobody on the socket, is taken over;
// a second lock makes sure that only one start at a time does that.
bool InstanceChannel::takeOverUnreadableLock(QLockFile &lock)
{
    if (lockIsReadable(lock))
        return false;
    const QByteArray seen = fileBytes(lockFilePath());
    QThread::msleep(kUnreadableLockGraceMs);
    if (lockIsReadable(lock) || primaryListens())
        return false;
    QLockFile guard(lockFilePath() + QStringLiteral(".takeover"));
    guard.setStaleLockTime(0);
    if (!guard.tryLock(kTakeOverWaitMs))
        return false;
    // Another start may have taken it over while we waited for the guard.
    if (lockIsReadable(lock) || fileBytes(lockFilePath()) != seen)
        return false;
    qCWarning(lcChannel) << "Taking over the unreadable lock file" << lockFilePath();
    return lock.removeStaleLockFile() && lock.tryLock(0);
}

bool InstanceChannel::primaryListens() const
{
    QLocalSocket probe;
    probe.connectToServer(socketPath());
    return probe.waitForConnected(kProbeTimeoutMs);
}

void InstanceChannel::receive(FrameServer::ConnectionId connection, const Message &message)
{
    if (message.is(MessageType::Ack) || message.is(MessageType::CommandReply))
        return;
    if (message.is(MessageType::Command)) {
        m_server->awaitReply(connection);
        QMetaObject::invokeMethod(
            this, [this, message, connection] { emit requestReceived(message, connection); }, Qt::QueuedConnection);
        return;
    }
    m_server->send(connection, Message::ack());
    // A page to capture is a hand-over too: its own way to ask for a capture.
    if (message.is(MessageType::HandOver) || message.is(MessageType::CapturePage)) {
        m_pendingHandOver = message;
        if (!m_handOverTimer.isActive()) {
            const qint64 sinceLast = m_lastHandOver.isValid() ? m_lastHandOver.elapsed() : m_handOverIntervalMs;
            m_handOverTimer.start(int(qMax<qint64>(0, m_handOverIntervalMs - sinceLast)));
        }
        return;
    }
    // Queued, so that the receiver never runs inside this socket's handler:
    // it may open dialogs and spin event loops of its own.
    QMetaObject::invokeMethod(
        this, [this, message] { emit messageReceived(message); }, Qt::QueuedConnection);
}

void InstanceChannel::deliverHandOver()
{
    if (!m_pendingHandOver)
        return;
    const Message message = *std::exchange(m_pendingHandOver, std::nullopt);
    m_lastHandOver.start();
    emit messageReceived(message);
}

bool InstanceChannel::sendToPrimary(const Message &message, int timeoutMs)
{
    return exchangeWithPrimary(message, MessageType::Ack, timeoutMs).has_value();
}

std::optional<Message> InstanceChannel::request(const Message &message, int timeoutMs)
{
    return exchangeWithPrimary(message, MessageType::CommandReply, timeoutMs);
}

bool InstanceChannel::reply(FrameServer::ConnectionId connection, const Message &message)
{
    return m_server && m_server->send(connection, message);
}

std::optional<Message> InstanceChannel::exchangeWithPrimary(const Message &message, MessageType answer, int timeoutMs)
{
    if (isPrimary()) {
        m_errorString = QStringLiteral("This instance is the primary one");
        return std::nullopt;
    }
    if (message.payload.size() > m_limits.maxPayloadSize) {
        m_errorString = QStringLiteral("Message larger than %1 bytes").arg(m_limits.maxPayloadSize);
        return std::nullopt;
    }
    if (!m_folder.isValid()) {
        m_errorString =
            QStringLiteral("there is no private folder for its lock and socket (%1)").arg(m_folder.errorString());
        return std::nullopt;
    }
    const QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(timeoutMs));
    // A primary that has just taken the lock may not be listening yet, and
    // one at its connection limit may close ours to make room for another:
    // both are worth another try while time is left. A request that went
    // out is never sent twice, since the primary may be carrying it out.
    for (;;) {
        bool sent = false;
        if (std::optional<Message> reply = exchange(socketPath(), message, answer, deadline, m_errorString, sent))
            return reply;
        if (deadline.hasExpired() || (sent && answer != MessageType::Ack))
            return std::nullopt;
        QThread::msleep(kConnectRetryMs);
    }
}
