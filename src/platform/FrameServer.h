#pragma once

#include "platform/FrameCodec.h"
#include "platform/LogLimiter.h"
#include "platform/Message.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <map>
#include <memory>

class QLocalServer;
class QLocalSocket;

// What the peers of one FrameServer may make it hold. The defaults suit a
// program serving short requests from its own user; tests set small values
// so that each limit is reached quickly.
struct FrameServerLimits
{
    qsizetype maxPayloadSize = FrameCodec::kDefaultMaxPayloadSize;
    // Well below the usual 1024 open files: a process out of descriptors
    // cannot accept, and then loses its listening socket.
    int maxConnections = 32;
    // Bytes held for frames still arriving, all connections together, not
    // counting the first FrameServer::kSmallFrameAllowance of each (so that a
    // short request never waits behind large ones). Raised to one whole frame
    // when smaller.
    qsizetype maxBufferedBytes = 4 * 1024 * 1024;
    // Frames queued for a peer that it has not read; past this nothing more
    // is read from it until it catches up.
    qsizetype maxUnsentBytes = 64 * 1024;
    // A frame must be whole this long after its first byte came in.
    int frameDeadlineMs = 3000;
    // A connection with no frame under way is closed after this; negative: never.
    int idleTimeoutMs = 3000;
    // How soon a server that lost its socket listens again.
    int relistenIntervalMs = 500;
};

// A local socket server that speaks FrameCodec frames and keeps what its
// peers can cost bounded: connections are capped (the oldest idle one makes
// room for a newcomer), each frame has a deadline, buffered bytes are capped
// across connections, a peer that does not read its replies is not read
// from, and a lost listening socket is set up again. Only this user can
// connect. Peers are told apart by a connection id; what a frame means is
// the business of whoever handles frameReceived.
class FrameServer : public QObject
{
    Q_OBJECT

public:
    using ConnectionId = quint64;
    static constexpr qsizetype kSmallFrameAllowance = 4 * 1024;

    explicit FrameServer(const FrameServerLimits &limits = {}, QObject *parent = nullptr);
    ~FrameServer() override;

    // Replaces whatever socket file is at socketPath, so the caller must own
    // the name (by a lock file, say). From then on the server keeps listening
    // there until close().
    bool listen(const QString &socketPath);
    void close();
    bool isListening() const;
    QString socketPath() const { return m_socketPath; }
    QString errorString() const { return m_errorString; }
    const FrameServerLimits &limits() const { return m_limits; }

    // Queues a frame for the peer and starts writing it; false when the
    // connection is gone.
    bool send(ConnectionId connection, const Message &message);
    // The peer waits for an answer that may take longer than the idle time
    // (the user's own work in a window): its connection is kept open until
    // the next send() to it. Connections waiting so are the last to make
    // room for a newcomer.
    void awaitReply(ConnectionId connection);
    void closeConnection(ConnectionId connection);

    int connectionCount() const { return int(m_connections.size()); }
    bool hasConnection(ConnectionId connection) const { return find(connection) != nullptr; }
    qsizetype bufferedBytes() const;
    qsizetype unsentBytes() const;

signals:
    // Emitted while the connection is being read: a receiver may send() a
    // reply or close the connection, and leaves longer work to a queued call.
    void frameReceived(FrameServer::ConnectionId connection, const Message &message);

private:
    struct Connection;

    void acceptConnections();
    void admit(QLocalSocket *socket);
    void makeRoom();
    void serve(ConnectionId id);
    qsizetype readAllowance(const Connection &connection) const;
    void catchUp(ConnectionId id);
    void resumeWaitingForBudget();
    void startDeadline(Connection &connection);
    void scheduleDeadlineCheck();
    void closeExpired();
    void drop(ConnectionId id, const QString &reason);
    void keepListening();
    bool startListening();
    Connection *find(ConnectionId id) const;
    void log(const QString &line);

    FrameServerLimits m_limits;
    QString m_socketPath;
    QString m_errorString;
    std::unique_ptr<QLocalServer> m_server;
    // Ordered by id, that is by age.
    std::map<ConnectionId, std::unique_ptr<Connection>> m_connections;
    ConnectionId m_nextId = 1;
    QTimer m_deadlineTimer;
    QTimer m_listenWatch;
    bool m_resumeQueued = false;
    LogLimiter m_log;
};
