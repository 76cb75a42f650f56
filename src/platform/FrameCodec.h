#pragma once

#include "platform/Message.h"

#include <QByteArray>
#include <QString>

// Frames on the instance channel and the bridge sockets: a 4-byte big-endian
// payload length, a type byte, the payload. The decoder reads a byte stream
// in whatever pieces it arrives and tells "keep reading" apart from "this
// peer is talking nonsense": the latter is final, since the stream cannot be
// resynchronised.
class FrameCodec
{
public:
    static constexpr qsizetype kHeaderSize = 5;
    static constexpr qsizetype kDefaultMaxPayloadSize = 1024 * 1024;

    enum class Status
    {
        NeedMoreData,
        MessageReady,
        Invalid,
    };
    enum class Error
    {
        None,
        Oversized,
        UnknownType,
        Malformed,
    };

    explicit FrameCodec(qsizetype maxPayloadSize = kDefaultMaxPayloadSize);

    static QByteArray encode(const Message &message);
    static bool isKnownType(quint8 type);

    qsizetype maxPayloadSize() const { return m_maxPayloadSize; }

    // Ignored once the stream is invalid.
    void append(const QByteArray &bytes);
    Status decodeNext(Message &message);

    Error error() const { return m_error; }
    QString errorString() const;
    // Bytes held back: at most one incomplete frame once decodeNext() has
    // returned NeedMoreData, so never more than header + maximum payload.
    qsizetype bufferedSize() const { return m_buffer.size() - m_readOffset; }

private:
    Status fail(Error error);

    QByteArray m_buffer;
    qsizetype m_readOffset = 0;
    qsizetype m_maxPayloadSize;
    Error m_error = Error::None;
};
