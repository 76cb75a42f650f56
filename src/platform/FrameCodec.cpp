#include "platform/FrameCodec.h"

#include <QStringDecoder>
#include <QtEndian>

FrameCodec::FrameCodec(qsizetype maxPayloadSize)
    : m_maxPayloadSize(maxPayloadSize)
{
}

QByteArray FrameCodec::encode(const Message &message)
{
    QByteArray frame(kHeaderSize, Qt::Uninitialized);
    qToBigEndian<quint32>(quint32(message.payload.size()), frame.data());
    frame[4] = char(message.type);
    frame += message.payload;
    return frame;
}

bool FrameCodec::isKnownType(quint8 type)
{
    switch (MessageType(type)) {
    case MessageType::HandOver:
    case MessageType::Ack:
    case MessageType::BridgeRequest:
    case MessageType::BridgeReply:
    case MessageType::Command:
    case MessageType::CommandReply:
    case MessageType::OpenLibrary:
    case MessageType::CapturePage:
        return true;
    }
    return false;
}

void FrameCodec::append(const QByteArray &bytes)
{
    if (m_error == Error::None)
        m_buffer += bytes;
}

FrameCodec::Status FrameCodec::decodeNext(Message &message)
{
    if (m_error != Error::None)
        return Status::Invalid;
    const qsizetype available = m_buffer.size() - m_readOffset;
    if (available < kHeaderSize) {
        // Drop what was consumed only here, so that a read holding many small
        // frames costs one move instead of one per frame. Emptied, the buffer
        // gives its memory back: an idle connection should cost nothing.
        if (available == 0)
            m_buffer.clear();
        else
            m_buffer.remove(0, m_readOffset);
        m_readOffset = 0;
        return Status::NeedMoreData;
    }
    const char *header = m_buffer.constData() + m_readOffset;
    const quint32 length = qFromBigEndian<quint32>(header);
    const auto type = quint8(header[4]);
    // Judged on the header alone: no point in buffering a frame we will refuse.
    if (qint64(length) > qint64(m_maxPayloadSize))
        return fail(Error::Oversized);
    if (!isKnownType(type))
        return fail(Error::UnknownType);
    if (available < kHeaderSize + qsizetype(length)) {
        m_buffer.remove(0, m_readOffset);
        m_readOffset = 0;
        return Status::NeedMoreData;
    }
    const QByteArray payload = m_buffer.mid(m_readOffset + kHeaderSize, length);
    switch (MessageType(type)) {
    case MessageType::Ack:
        if (!payload.isEmpty())
            return fail(Error::Malformed);
        break;
    case MessageType::HandOver:
    case MessageType::BridgeRequest:
    case MessageType::BridgeReply:
    case MessageType::Command:
    case MessageType::CommandReply:
    case MessageType::OpenLibrary:
    case MessageType::CapturePage: {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(payload);
        if (utf8.hasError())
            return fail(Error::Malformed);
        break;
    }
    }
    m_readOffset += kHeaderSize + qsizetype(length);
    message = Message{type, payload};
    return Status::MessageReady;
}

FrameCodec::Status FrameCodec::fail(Error error)
{
    m_error = error;
    m_buffer.clear();
    m_readOffset = 0;
    return Status::Invalid;
}

QString FrameCodec::errorString() const
{
    switch (m_error) {
    case Error::None:
        return {};
    case Error::Oversized:
        return QStringLiteral("Frame larger than %1 bytes").arg(m_maxPayloadSize);
    case Error::UnknownType:
        return QStringLiteral("Unknown message type");
    case Error::Malformed:
        return QStringLiteral("Malformed message payload");
    }
    return {};
}
