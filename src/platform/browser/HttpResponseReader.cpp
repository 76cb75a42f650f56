#include "platform/browser/HttpResponseReader.h"

#include <algorithm>

namespace {

bool isDecimal(const QByteArray &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isHex(const QByteArray &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

// Longer numbers cannot be a size we would take anyway.
constexpr qsizetype kMaxSizeDigits = 15;

} // namespace

HttpResponseReader::HttpResponseReader(qsizetype maxBodySize)
    : m_maxBodySize(maxBodySize)
{
}

HttpResponseReader::Status HttpResponseReader::append(const QByteArray &bytes)
{
    if (m_status != Status::NeedMoreData)
        return m_status;
    m_buffer.append(bytes);
    return advance();
}

HttpResponseReader::Status HttpResponseReader::finish()
{
    if (m_status != Status::NeedMoreData)
        return m_status;
    return m_stage == Stage::BodyToEnd ? complete() : fail();
}

HttpResponseReader::Status HttpResponseReader::advance()
{
    bool progressed = true;
    while (progressed && m_status == Status::NeedMoreData) {
        switch (m_stage) {
        case Stage::Head:
            progressed = readHead();
            break;
        case Stage::FixedBody:
            progressed = readFixedBody();
            break;
        case Stage::ChunkSize:
            progressed = readChunkSize();
            break;
        case Stage::ChunkData:
            progressed = readChunkData();
            break;
        case Stage::ChunkDataEnd:
            progressed = readChunkDataEnd();
            break;
        case Stage::Trailers:
            progressed = readTrailers();
            break;
        case Stage::BodyToEnd:
            progressed = false;
            appendToBody(m_buffer.size() - m_read);
            break;
        case Stage::Done:
            complete();
            break;
        }
    }
    m_buffer.remove(0, m_read);
    m_read = 0;
    return m_status;
}

bool HttpResponseReader::readHead()
{
    QByteArray line;
    while (takeLine(line)) {
        if (!m_sawStatusLine) {
            if (!parseStatusLine(line))
                return false;
        } else if (line.isEmpty()) {
            return startBody();
        } else if (!parseHeader(line)) {
            return false;
        }
    }
    return false;
}

bool HttpResponseReader::parseStatusLine(const QByteArray &line)
{
    const QByteArray code = line.mid(9, 3);
    const bool valid = line.startsWith("HTTP/1.") && line.size() >= 12 && line.at(8) == ' ' && isDecimal(code) &&
                       (line.size() == 12 || line.at(12) == ' ');
    if (!valid) {
        fail();
        return false;
    }
    m_statusCode = code.toInt();
    m_sawStatusLine = true;
    return true;
}

bool HttpResponseReader::parseHeader(const QByteArray &line)
{
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) {
        fail();
        return false;
    }
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "content-length") {
        // Two different lengths leave no way to tell where the body ends.
        if (!isDecimal(value) || value.size() > kMaxSizeDigits ||
            (m_contentLength >= 0 && m_contentLength != value.toLongLong())) {
            fail();
            return false;
        }
        m_contentLength = value.toLongLong();
    } else if (name == "transfer-encoding") {
        // Nothing asks for compressed bodies; any coding but chunked is not ours to read.
        const QByteArray last = value.mid(value.lastIndexOf(',') + 1).trimmed().toLower();
        if (last != "chunked" && last != "identity") {
            fail();
            return false;
        }
        m_chunked = last == "chunked";
    }
    return true;
}

bool HttpResponseReader::startBody()
{
    // An interim answer (100 Continue) is followed by the real one.
    if (m_statusCode / 100 == 1) {
        m_sawStatusLine = false;
        m_contentLength = -1;
        m_chunked = false;
        return true;
    }
    if (m_statusCode == 204 || m_statusCode == 304)
        m_stage = Stage::Done;
    else if (m_chunked)
        m_stage = Stage::ChunkSize;
    else if (m_contentLength > m_maxBodySize)
        fail();
    else if (m_contentLength >= 0) {
        m_remaining = m_contentLength;
        m_stage = m_remaining == 0 ? Stage::Done : Stage::FixedBody;
    } else {
        m_stage = Stage::BodyToEnd;
    }
    return m_status == Status::NeedMoreData;
}

bool HttpResponseReader::readFixedBody()
{
    const qsizetype count = std::min(m_remaining, m_buffer.size() - m_read);
    appendToBody(count);
    m_remaining -= count;
    if (m_remaining == 0)
        m_stage = Stage::Done;
    return count > 0 || m_remaining == 0;
}

bool HttpResponseReader::readChunkSize()
{
    QByteArray line;
    if (!takeLine(line))
        return false;
    const qsizetype extension = line.indexOf(';');
    const QByteArray size = (extension < 0 ? line : line.first(extension)).trimmed();
    if (!isHex(size) || size.size() > kMaxSizeDigits || m_body.size() + size.toLongLong(nullptr, 16) > m_maxBodySize) {
        fail();
        return false;
    }
    m_remaining = size.toLongLong(nullptr, 16);
    m_stage = m_remaining == 0 ? Stage::Trailers : Stage::ChunkData;
    return true;
}

bool HttpResponseReader::readChunkData()
{
    const qsizetype count = std::min(m_remaining, m_buffer.size() - m_read);
    appendToBody(count);
    m_remaining -= count;
    if (m_remaining == 0)
        m_stage = Stage::ChunkDataEnd;
    return count > 0 || m_remaining == 0;
}

bool HttpResponseReader::readChunkDataEnd()
{
    QByteArray line;
    if (!takeLine(line))
        return false;
    if (!line.isEmpty()) {
        fail();
        return false;
    }
    m_stage = Stage::ChunkSize;
    return true;
}

bool HttpResponseReader::readTrailers()
{
    QByteArray line;
    while (takeLine(line)) {
        if (line.isEmpty()) {
            m_stage = Stage::Done;
            return true;
        }
    }
    return false;
}

// A line ends at LF, with or without CR before it. A line that has not ended
// within the header cap never will.
bool HttpResponseReader::takeLine(QByteArray &line)
{
    const qsizetype end = m_buffer.indexOf('\n', m_read);
    if (end < 0) {
        if (m_buffer.size() - m_read > kMaxHeaderSize)
            fail();
        return false;
    }
    line = m_buffer.mid(m_read, end - m_read);
    if (line.endsWith('\r'))
        line.chop(1);
    m_read = end + 1;
    return true;
}

bool HttpResponseReader::appendToBody(qsizetype count)
{
    if (m_body.size() + count > m_maxBodySize) {
        fail();
        return false;
    }
    m_body.append(m_buffer.constData() + m_read, count);
    m_read += count;
    return true;
}

HttpResponseReader::Status HttpResponseReader::fail()
{
    m_status = Status::Failed;
    m_body.clear();
    return m_status;
}

HttpResponseReader::Status HttpResponseReader::complete()
{
    m_stage = Stage::Done;
    m_status = Status::Complete;
    return m_status;
}
