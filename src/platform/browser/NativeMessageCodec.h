#pragma once

#include <QByteArray>

#include <deque>
#include <optional>

// Native messaging between a browser and its host: each message is UTF-8
// JSON preceded by its length, 32 bits in the machine's own byte order.
// A browser sends up to 64 MiB and accepts at most 1 MiB from the host.
//
// Unlike the bridge sockets, the browser's pipe cannot be dropped and
// reopened, so the decoder never gives up: a message longer than it takes
// is skipped as it streams past, without being buffered.
class NativeMessageCodec
{
public:
    static constexpr qsizetype kHeaderSize = 4;
    static constexpr qsizetype kMaxToBrowser = 1024 * 1024;

    explicit NativeMessageCodec(qsizetype maxIncoming);

    // Nothing when the message is too long for the browser to take.
    static std::optional<QByteArray> encode(const QByteArray &json);

    void append(const char *data, qsizetype size);
    void append(const QByteArray &bytes) { append(bytes.constData(), bytes.size()); }
    // The next whole message, in order; false when none is complete yet.
    bool next(QByteArray &message);

    qint64 skippedCount() const { return m_skippedCount; }
    // Bytes held of the message still arriving: at most a header plus maxIncoming.
    qsizetype partialSize() const { return m_partial.size(); }

private:
    qsizetype takeHeader(const char *data, qsizetype size);
    qsizetype takeBody(const char *data, qsizetype size);

    qsizetype m_maxIncoming;
    QByteArray m_partial;
    // Length of the message whose body is arriving; negative while its header is.
    qint64 m_bodyLength = -1;
    quint64 m_skipRemaining = 0;
    qint64 m_skippedCount = 0;
    std::deque<QByteArray> m_ready;
};
