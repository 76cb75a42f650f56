#pragma once

#include "platform/FrameServer.h"
#include "platform/Message.h"
#include "platform/RuntimeFolder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

class QLockFile;

// Keeps the program to one running instance per user and carries messages
// from later starts to it. The instance holding the lock file listens on a
// local socket that only its user can reach, both in the private runtime
// folder. Messages are FrameCodec frames; each one the primary accepts is
// answered with an Ack and then announced through a queued call, except a
// Command, which is answered by its CommandReply once it has been done. Hand-overs
// that come faster than one per hand-over interval are merged into the last
// of them: each one raises the window, and a flood of them must not.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultHandOverIntervalMs = 250;

    explicit InstanceChannel(const QString &name = QStringLiteral("SitePins"), QObject *parent = nullptr);
    ~InstanceChannel() override;

    // False while another live process (or another channel of this process)
    // holds the name. What a crashed primary left behind does not count, nor
    // does a lock file that cannot be read when nobody answers on the socket.
    bool tryBecomePrimary();
    bool isPrimary() const;
    // After a failed tryBecomePrimary(): true when a live instance holds the
    // name, false when the channel could not be set up at all.
    bool isHeldByAnother() const { return m_heldByAnother; }

    // Blocks until the primary acknowledges the message, for at most
    // timeoutMs (negative: no limit). Meant for a starting instance that has
    // no event loop running yet.
    bool sendToPrimary(const Message &message, int timeoutMs);
    // Sends a Command and blocks until the primary's CommandReply, for at
    // most timeoutMs; nothing when none came.
    std::optional<Message> request(const Message &command, int timeoutMs);
    // The primary's answer to a requestReceived().
    bool reply(FrameServer::ConnectionId connection, const Message &message);

    // True when an instance answers on the socket now; a quick look that
    // does not wait for one that is starting.
    bool primaryListens() const;

    // Apply to a later tryBecomePrimary().
    void setLimits(const FrameServerLimits &limits) { m_limits = limits; }
    const FrameServerLimits &limits() const { return m_limits; }
    void setMaxPayloadSize(qsizetype bytes) { m_limits.maxPayloadSize = bytes; }
    qsizetype maxPayloadSize() const { return m_limits.maxPayloadSize; }
    void setHandOverIntervalMs(int milliseconds) { m_handOverIntervalMs = milliseconds; }
    // Null before tryBecomePrimary() succeeded.
    const FrameServer *server() const { return m_server.get(); }

    // Empty when there is no private runtime folder.
    QString socketPath() const;
    QString lockFilePath() const;
    QString errorString() const { return m_errorString; }

signals:
    void messageReceived(const Message &message);
    // A Command; its sender waits until reply() is called with the connection.
    void requestReceived(const Message &command, FrameServer::ConnectionId connection);

private:
    bool lockIsReadable(const QLockFile &lock) const;
    bool takeOverUnreadableLock(QLockFile &lock);
    bool somebodyListens() const;
    std::optional<Message> exchangeWithPrimary(const Message &message, MessageType answer, int timeoutMs);
    void receive(FrameServer::ConnectionId connection, const Message &message);
    void deliverHandOver();

    QString m_name;
    RuntimeFolder m_folder;
    FrameServerLimits m_limits;
    int m_handOverIntervalMs = kDefaultHandOverIntervalMs;
    QString m_errorString;
    bool m_heldByAnother = false;
    std::optional<Message> m_pendingHandOver;
    QElapsedTimer m_lastHandOver;
    QTimer m_handOverTimer;
    std::unique_ptr<QLockFile> m_lock;
    // Declared after the lock so that it goes first: the socket file must be
    // removed while we still own the name, or we could remove the socket of a
    // primary that started in between.
    std::unique_ptr<FrameServer> m_server;
};
