#include "platform/browser/NativeMessageCodec.h"

#include <cstring>
#include <utility>

NativeMessageCodec::NativeMessageCodec(qsizetype maxIncoming)
    : m_maxIncoming(maxIncoming)
{
}

std::optional<QByteArray> NativeMessageCodec::encode(const QByteArray &json)
{
    if (json.size() > kMaxToBrowser)
        return std::nullopt;
    const auto length = quint32(json.size());
    QByteArray message(kHeaderSize, Qt::Uninitialized);
    std::memcpy(message.data(), &length, sizeof length);
    return message + json;
}

void NativeMessageCodec::append(const char *data, qsizetype size)
{
    while (size > 0) {
        qsizetype used;
        if (m_skipRemaining > 0) {
            used = qsizetype(qMin<quint64>(m_skipRemaining, quint64(size)));
            m_skipRemaining -= quint64(used);
        } else if (m_bodyLength < 0) {
            used = takeHeader(data, size);
        } else {
            used = takeBody(data, size);
        }
        data += used;
        size -= used;
    }
}

qsizetype NativeMessageCodec::takeHeader(const char *data, qsizetype size)
{
    const qsizetype used = qMin(kHeaderSize - m_partial.size(), size);
    m_partial.append(data, used);
    if (m_partial.size() < kHeaderSize)
        return used;
    quint32 length;
    std::memcpy(&length, m_partial.constData(), sizeof length);
    m_partial.clear();
    if (qint64(length) > qint64(m_maxIncoming)) {
        m_skipRemaining = length;
        ++m_skippedCount;
    } else if (length == 0) {
        m_ready.emplace_back();
    } else {
        m_bodyLength = length;
    }
    return used;
}

qsizetype NativeMessageCodec::takeBody(const char *data, qsizetype size)
{
    const qsizetype used = qMin(qsizetype(m_bodyLength) - m_partial.size(), size);
    m_partial.append(data, used);
    if (m_partial.size() == m_bodyLength) {
        m_ready.push_back(std::exchange(m_partial, QByteArray()));
        m_bodyLength = -1;
    }
    return used;
}

bool NativeMessageCodec::next(QByteArray &message)
{
    if (m_ready.empty())
        return false;
    message = std::move(m_ready.front());
    m_ready.pop_front();
    return true;
}
