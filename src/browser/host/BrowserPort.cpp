#include "browser/host/BrowserPort.h"

#include <QJsonDocument>
#include <QLoggingCategory>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

Q_LOGGING_CATEGORY(lcPort, "sitepins.bridge.port")

constexpr qsizetype kReadChunkSize = 64 * 1024;

} // namespace

BrowserPort::BrowserPort(int inputFd, int outputFd, qsizetype maxIncoming, QObject *parent)
    : QObject(parent)
    , m_inputFd(inputFd)
    , m_outputFd(outputFd)
    , m_codec(maxIncoming)
    , m_notifier(inputFd, QSocketNotifier::Read)
{
    // A wake-up reads what is there and never waits for more, which would
    // stall the program's connections behind a half-sent message.
    ::fcntl(m_inputFd, F_SETFL, ::fcntl(m_inputFd, F_GETFL) | O_NONBLOCK);
    connect(&m_notifier, &QSocketNotifier::activated, this, &BrowserPort::readAvailable);
}

// One read per wake-up, so that a flood from the browser leaves the
// program's requests their turn.
void BrowserPort::readAvailable()
{
    char chunk[kReadChunkSize];
    const ssize_t got = ::read(m_inputFd, chunk, sizeof chunk);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) {
        m_notifier.setEnabled(false);
        emit closed();
        return;
    }
    m_codec.append(chunk, got);
    QByteArray bytes;
    while (m_codec.next(bytes)) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            qCWarning(lcPort) << "Dropping a message from the browser that is no JSON object";
            continue;
        }
        emit received(document.object());
    }
}

bool BrowserPort::send(const QJsonObject &message)
{
    const auto encoded = NativeMessageCodec::encode(QJsonDocument(message).toJson(QJsonDocument::Compact));
    return encoded && writeAll(*encoded);
}

// Blocking: the browser reads its hosts continuously, and a message must
// leave whole or the stream is lost.
bool BrowserPort::writeAll(const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_outputFd, data, size_t(left));
        if (written > 0) {
            data += written;
            left -= written;
        } else if (written < 0 && errno == EAGAIN) {
            pollfd writable{m_outputFd, POLLOUT, 0};
            ::poll(&writable, 1, -1);
        } else if (written < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}
