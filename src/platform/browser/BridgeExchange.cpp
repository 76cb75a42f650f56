#include "platform/browser/BridgeExchange.h"

#include "platform/FrameCodec.h"

#include <QFile>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr qint64 kRequestId = 1;
constexpr qsizetype kReadChunkSize = 64 * 1024;

// One host's side of the exchange: the request going out, the reply coming in.
struct Peer
{
    int fd = -1;
    QByteArray pending;
    FrameCodec codec;
    bool done = false;
};

void finish(Peer &peer, BridgeExchange::Result &result, BridgeExchange::Outcome outcome)
{
    result.outcome = outcome;
    peer.done = true;
    if (peer.fd >= 0)
        ::close(peer.fd);
    peer.fd = -1;
}

int connectTo(const QString &path, BridgeExchange::Outcome &failure)
{
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    failure = BridgeExchange::Outcome::Failed;
    if (size_t(name.size()) >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
        return fd;
    // A local connect either completes at once or fails at once; EAGAIN is a
    // full backlog, i.e. a live but busy host, not a dead one.
    if (errno == ECONNREFUSED || errno == ENOENT)
        failure = BridgeExchange::Outcome::Refused;
    ::close(fd);
    return -1;
}

void writeSome(Peer &peer, BridgeExchange::Result &result)
{
    const ssize_t written = ::send(peer.fd, peer.pending.constData(), size_t(peer.pending.size()), MSG_NOSIGNAL);
    if (written > 0)
        peer.pending.remove(0, written);
    else if (written < 0 && errno != EAGAIN && errno != EINTR)
        finish(peer, result, BridgeExchange::Outcome::Failed);
}

void readSome(Peer &peer, BridgeExchange::Result &result)
{
    char chunk[kReadChunkSize];
    const ssize_t got = ::read(peer.fd, chunk, sizeof chunk);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) {
        finish(peer, result, BridgeExchange::Outcome::Failed);
        return;
    }
    peer.codec.append(QByteArray(chunk, got));
    Message message;
    FrameCodec::Status status;
    while ((status = peer.codec.decodeNext(message)) == FrameCodec::Status::MessageReady) {
        if (!message.is(MessageType::BridgeReply))
            continue;
        const QJsonObject reply = QJsonDocument::fromJson(message.payload).object();
        if (reply.value(QStringLiteral("id")).toInteger(-1) != kRequestId)
            continue;
        result.reply = reply;
        finish(peer, result, BridgeExchange::Outcome::Replied);
        return;
    }
    if (status == FrameCodec::Status::Invalid)
        finish(peer, result, BridgeExchange::Outcome::Failed);
}

int remainingMs(const QDeadlineTimer &deadline)
{
    return int(qBound(qint64(0), deadline.remainingTime(), qint64(60 * 60 * 1000)));
}

} // namespace

std::vector<BridgeExchange::Result> BridgeExchange::run(const std::vector<QString> &socketPaths,
                                                        const std::vector<QJsonObject> &requests,
                                                        const QDeadlineTimer &deadline)
{
    std::vector<Result> results(socketPaths.size());
    std::vector<Peer> peers(socketPaths.size());
    // Everyone is asked before anyone is waited for, so that slow hosts
    // answer side by side.
    for (size_t i = 0; i < peers.size(); ++i) {
        Outcome failure;
        peers[i].fd = connectTo(socketPaths[i], failure);
        if (peers[i].fd < 0) {
            finish(peers[i], results[i], failure);
            continue;
        }
        QJsonObject request = requests[i];
        request.insert(QStringLiteral("id"), kRequestId);
        peers[i].pending = FrameCodec::encode(
            Message{quint8(MessageType::BridgeRequest), QJsonDocument(request).toJson(QJsonDocument::Compact)});
        writeSome(peers[i], results[i]);
    }
    for (;;) {
        std::vector<pollfd> polled;
        std::vector<size_t> owners;
        for (size_t i = 0; i < peers.size(); ++i) {
            if (peers[i].done)
                continue;
            const short events = short(POLLIN | (peers[i].pending.isEmpty() ? 0 : POLLOUT));
            polled.push_back({peers[i].fd, events, 0});
            owners.push_back(i);
        }
        if (polled.empty() || deadline.hasExpired())
            break;
        const int ready = ::poll(polled.data(), nfds_t(polled.size()), remainingMs(deadline));
        if (ready < 0 && errno != EINTR)
            break;
        for (size_t k = 0; k < polled.size(); ++k) {
            Peer &peer = peers[owners[k]];
            Result &result = results[owners[k]];
            if (polled[k].revents & POLLOUT)
                writeSome(peer, result);
            if (!peer.done && (polled[k].revents & (POLLIN | POLLHUP | POLLERR)))
                readSome(peer, result);
        }
    }
    for (size_t i = 0; i < peers.size(); ++i) {
        if (!peers[i].done)
            finish(peers[i], results[i], Outcome::NoReply);
    }
    return results;
}
