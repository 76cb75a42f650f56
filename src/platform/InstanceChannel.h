#pragma once

#include "platform/FrameCodec.h"
#include "platform/Message.h"

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// Keeps the program to one running instance per user and carries messages
// from later starts (and, later, the browser bridge) to it. The instance
// holding the lock file listens on a local socket that only its user can
// reach, both in the runtime folder (XDG_RUNTIME_DIR, else a private folder
// of Qt's choosing). Messages are FrameCodec frames; each one the primary
// accepts is answered with an Ack and then announced through a queued call.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(const QString &name = QStringLiteral("SitePins"), QObject *parent = nullptr);
    ~InstanceChannel() override;

    // False while another live process (or another channel of this process)
    // holds the name. What a crashed primary left behind does not count.
    bool tryBecomePrimary();
    bool isPrimary() const;
    // After a failed tryBecomePrimary(): true when a live instance holds the
    // name, false when the channel could not be set up at all.
    bool isHeldByAnother() const { return m_heldByAnother; }

    // Blocks until the primary acknowledges the message, for at most
    // timeoutMs (negative: no limit). Meant for a starting instance that has
    // no event loop running yet.
    bool sendToPrimary(const Message &message, int timeoutMs);

    // Per connection and per message; applies to connections accepted afterwards.
    void setMaxPayloadSize(qsizetype bytes) { m_maxPayloadSize = bytes; }
    qsizetype maxPayloadSize() const { return m_maxPayloadSize; }

    QString socketPath() const;
    QString lockFilePath() const;
    QString errorString() const { return m_errorString; }

signals:
    void messageReceived(const Message &message);

private:
    void acceptConnections();
    void readFrom(QLocalSocket &socket, FrameCodec &codec);

    QString m_name;
    QString m_folder;
    qsizetype m_maxPayloadSize = FrameCodec::kDefaultMaxPayloadSize;
    QString m_errorString;
    bool m_heldByAnother = false;
    std::unique_ptr<QLockFile> m_lock;
    // Declared after the lock so that it goes first: the socket file must be
    // removed while we still own the name, or we could remove the socket of a
    // primary that started in between.
    std::unique_ptr<QLocalServer> m_server;
};
