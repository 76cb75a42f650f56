#include "platform/FrameServer.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>

#include <algorithm>
#include <limits>

namespace {

Q_LOGGING_CATEGORY(lcFrameServer, "sitepins.frameserver")

// Also what Qt may hold per connection before we read it: without a limit it
// would read from the peer whatever it sends, whether we want it or not.
constexpr qint64 kReadChunkSize = 64 * 1024;

} // namespace

struct FrameServer::Connection
{
    Connection(ConnectionId id, QLocalSocket *socket, qsizetype maxPayloadSize)
        : id(id)
        , socket(socket)
        , codec(maxPayloadSize)
    {
    }

    ConnectionId id;
    QLocalSocket *socket; // deleted later, when dropped
    FrameCodec codec;
    QDeadlineTimer deadline;
    bool repliesBackedUp = false;
    bool waitingForBudget = false;
    bool awaitingReply = false;
};

FrameServer::FrameServer(const FrameServerLimits &limits, QObject *parent)
    : QObject(parent)
    , m_limits(limits)
{
    m_limits.maxConnections = std::max(1, m_limits.maxConnections);
    m_limits.maxBufferedBytes = std::max(m_limits.maxBufferedBytes, m_limits.maxPayloadSize + FrameCodec::kHeaderSize);
    m_deadlineTimer.setSingleShot(true);
    connect(&m_deadlineTimer, &QTimer::timeout, this, &FrameServer::closeExpired);
    m_listenWatch.setInterval(std::max(1, m_limits.relistenIntervalMs));
    connect(&m_listenWatch, &QTimer::timeout, this, &FrameServer::keepListening);
}

FrameServer::~FrameServer()
{
    close();
}

bool FrameServer::listen(const QString &socketPath)
{
    close();
    m_socketPath = socketPath;
    if (!startListening()) {
        m_socketPath.clear();
        return false;
    }
    m_listenWatch.start();
    return true;
}

bool FrameServer::startListening()
{
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // With these options Qt renames its socket over an old one anyway;
    // without them listen() would refuse.
    QLocalServer::removeServer(m_socketPath);
    if (!server->listen(m_socketPath)) {
        m_errorString = server->errorString();
        return false;
    }
    connect(server.get(), &QLocalServer::newConnection, this, &FrameServer::acceptConnections);
    m_server = std::move(server);
    return true;
}

// Qt closes a server whose accept() fails, for good and without a signal:
// one moment out of file descriptors would end the channel. A socket file
// removed from under us is as lost.
void FrameServer::keepListening()
{
    if (isListening() && QFileInfo::exists(m_socketPath))
        return;
    m_server.reset();
    if (startListening())
        log(QStringLiteral("Listening again on %1").arg(m_socketPath));
    else
        log(QStringLiteral("Cannot listen on %1 (%2); trying again").arg(m_socketPath, m_errorString));
}

void FrameServer::close()
{
    m_listenWatch.stop();
    m_deadlineTimer.stop();
    while (!m_connections.empty())
        drop(m_connections.begin()->first, QString());
    // Closing removes the socket file, which the caller still owns here.
    m_server.reset();
    m_socketPath.clear();
}

bool FrameServer::isListening() const
{
    return m_server && m_server->isListening();
}

void FrameServer::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection())
        admit(socket);
}

void FrameServer::admit(QLocalSocket *socket)
{
    if (int(m_connections.size()) >= m_limits.maxConnections)
        makeRoom();
    socket->setParent(this);
    socket->setReadBufferSize(kReadChunkSize);
    const ConnectionId id = m_nextId++;
    auto connection = std::make_unique<Connection>(id, socket, m_limits.maxPayloadSize);
    connect(socket, &QLocalSocket::readyRead, this, [this, id] { serve(id); });
    connect(socket, &QLocalSocket::bytesWritten, this, [this, id] { catchUp(id); });
    connect(socket, &QLocalSocket::disconnected, this, [this, id] { drop(id, QString()); });
    startDeadline(*connection);
    m_connections.emplace(id, std::move(connection));
    scheduleDeadlineCheck();
    // Bytes may have come with the connection.
    if (socket->bytesAvailable() > 0)
        serve(id);
}

// The oldest connection with nothing under way goes first: a peer that
// connected and sent nothing is the cheapest to lose and the likeliest to
// be stuck. With every connection busy, the oldest goes.
void FrameServer::makeRoom()
{
    const auto idle = std::find_if(m_connections.begin(), m_connections.end(), [](const auto &entry) {
        return entry.second->codec.bufferedSize() == 0 && !entry.second->awaitingReply;
    });
    const ConnectionId victim = (idle != m_connections.end() ? idle : m_connections.begin())->first;
    drop(victim, QStringLiteral("%1 connections at once is the limit").arg(m_limits.maxConnections));
}

void FrameServer::serve(ConnectionId id)
{
    for (;;) {
        Connection *connection = find(id);
        if (!connection)
            return;
        // Checked before every frame: each may add a reply.
        if (connection->socket->bytesToWrite() > m_limits.maxUnsentBytes) {
            connection->repliesBackedUp = true;
            return;
        }
        Message message;
        const FrameCodec::Status status = connection->codec.decodeNext(message);
        if (status == FrameCodec::Status::MessageReady) {
            startDeadline(*connection);
            scheduleDeadlineCheck();
            resumeWaitingForBudget();
            emit frameReceived(id, message);
            continue;
        }
        if (status == FrameCodec::Status::Invalid) {
            drop(id, connection->codec.errorString());
            return;
        }
        const qint64 available = connection->socket->bytesAvailable();
        if (available <= 0)
            return;
        const qsizetype allowance = readAllowance(*connection);
        if (allowance <= 0) {
            connection->waitingForBudget = true;
            return;
        }
        const bool startsFrame = connection->codec.bufferedSize() == 0;
        connection->codec.append(connection->socket->read(std::min({available, qint64(allowance), kReadChunkSize})));
        if (startsFrame) {
            startDeadline(*connection);
            scheduleDeadlineCheck();
        }
    }
}

qsizetype FrameServer::readAllowance(const Connection &connection) const
{
    const qsizetype ownAllowance = kSmallFrameAllowance - connection.codec.bufferedSize();
    return std::max(m_limits.maxBufferedBytes - bufferedBytes(), ownAllowance);
}

void FrameServer::catchUp(ConnectionId id)
{
    Connection *connection = find(id);
    if (!connection || !connection->repliesBackedUp || connection->socket->bytesToWrite() > m_limits.maxUnsentBytes / 2)
        return;
    connection->repliesBackedUp = false;
    serve(id);
}

void FrameServer::resumeWaitingForBudget()
{
    if (m_resumeQueued)
        return;
    m_resumeQueued = true;
    // Later, so that no connection is read from inside another one's turn.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_resumeQueued = false;
            std::vector<ConnectionId> waiting;
            for (const auto &[id, connection] : m_connections) {
                if (connection->waitingForBudget) {
                    connection->waitingForBudget = false;
                    waiting.push_back(id);
                }
            }
            for (const ConnectionId id : waiting)
                serve(id);
        },
        Qt::QueuedConnection);
}

// A frame's clock starts with its first byte; between frames the idle
// clock runs.
void FrameServer::startDeadline(Connection &connection)
{
    if (connection.codec.bufferedSize() > 0)
        connection.deadline.setRemainingTime(m_limits.frameDeadlineMs);
    else if (m_limits.idleTimeoutMs >= 0 && !connection.awaitingReply)
        connection.deadline.setRemainingTime(m_limits.idleTimeoutMs);
    else
        connection.deadline = QDeadlineTimer(QDeadlineTimer::Forever);
}

void FrameServer::scheduleDeadlineCheck()
{
    qint64 earliest = std::numeric_limits<qint64>::max();
    for (const auto &[id, connection] : m_connections) {
        if (!connection->deadline.isForever())
            earliest = std::min(earliest, connection->deadline.remainingTime());
    }
    if (earliest == std::numeric_limits<qint64>::max())
        m_deadlineTimer.stop();
    else
        m_deadlineTimer.start(int(std::clamp<qint64>(earliest, 0, std::numeric_limits<int>::max())));
}

void FrameServer::closeExpired()
{
    std::vector<ConnectionId> expired;
    for (const auto &[id, connection] : m_connections) {
        if (connection->deadline.hasExpired())
            expired.push_back(id);
    }
    for (const ConnectionId id : expired) {
        const Connection *connection = find(id);
        drop(id, connection->codec.bufferedSize() > 0
                     ? QStringLiteral("no whole frame within %1 ms").arg(m_limits.frameDeadlineMs)
                     : QStringLiteral("idle for %1 ms").arg(m_limits.idleTimeoutMs));
    }
    scheduleDeadlineCheck();
}

bool FrameServer::send(ConnectionId id, const Message &message)
{
    Connection *connection = find(id);
    if (!connection)
        return false;
    if (connection->awaitingReply) {
        connection->awaitingReply = false;
        startDeadline(*connection);
        scheduleDeadlineCheck();
    }
    connection->socket->write(FrameCodec::encode(message));
    // The peer may be blocked waiting for this; do not leave it to the next
    // turn of the event loop, which a slow receiver may delay.
    connection->socket->flush();
    return true;
}

void FrameServer::awaitReply(ConnectionId id)
{
    Connection *connection = find(id);
    if (!connection)
        return;
    connection->awaitingReply = true;
    startDeadline(*connection);
    scheduleDeadlineCheck();
}

void FrameServer::closeConnection(ConnectionId id)
{
    drop(id, QString());
}

void FrameServer::drop(ConnectionId id, const QString &reason)
{
    const auto found = m_connections.find(id);
    if (found == m_connections.end())
        return;
    const std::unique_ptr<Connection> connection = std::move(found->second);
    m_connections.erase(found);
    if (!reason.isEmpty())
        log(QStringLiteral("Closing a connection: %1").arg(reason));
    QObject::disconnect(connection->socket, nullptr, this, nullptr);
    connection->socket->abort();
    // It may be the sender of the signal being handled.
    connection->socket->deleteLater();
    if (connection->codec.bufferedSize() > 0)
        resumeWaitingForBudget();
}

qsizetype FrameServer::bufferedBytes() const
{
    qsizetype total = 0;
    for (const auto &[id, connection] : m_connections)
        total += connection->codec.bufferedSize();
    return total;
}

qsizetype FrameServer::unsentBytes() const
{
    qsizetype total = 0;
    for (const auto &[id, connection] : m_connections)
        total += connection->socket->bytesToWrite();
    return total;
}

FrameServer::Connection *FrameServer::find(ConnectionId id) const
{
    const auto found = m_connections.find(id);
    return found == m_connections.end() ? nullptr : found->second.get();
}

void FrameServer::log(const QString &line)
{
    int suppressed = 0;
    if (!m_log.allow(&suppressed))
        return;
    if (suppressed > 0)
        qCWarning(lcFrameServer).noquote() << line << QStringLiteral("(%1 similar lines left out)").arg(suppressed);
    else
        qCWarning(lcFrameServer).noquote() << line;
}
