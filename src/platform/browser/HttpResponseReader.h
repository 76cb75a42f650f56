#pragma once

#include <QByteArray>

// Reads one HTTP/1.1 response as its bytes arrive, however they are cut:
// status line, headers, then a body framed by Content-Length, by chunks or by
// the end of the connection. Anything malformed or larger than the cap fails
// for good rather than being guessed at.
class HttpResponseReader
{
public:
    enum class Status
    {
        NeedMoreData,
        Complete,
        Failed
    };

    static constexpr qsizetype kDefaultMaxBodySize = 4 * 1024 * 1024;
    static constexpr qsizetype kMaxHeaderSize = 64 * 1024;

    explicit HttpResponseReader(qsizetype maxBodySize = kDefaultMaxBodySize);

    Status append(const QByteArray &bytes);
    // The peer closed the connection: completes a body that runs to the end.
    Status finish();

    Status status() const { return m_status; }
    int statusCode() const { return m_statusCode; }
    const QByteArray &body() const { return m_body; }

private:
    enum class Stage
    {
        Head,
        FixedBody,
        ChunkSize,
        ChunkData,
        ChunkDataEnd,
        Trailers,
        BodyToEnd,
        Done
    };

    Status advance();
    bool readHead();
    bool parseStatusLine(const QByteArray &line);
    bool parseHeader(const QByteArray &line);
    bool startBody();
    bool readFixedBody();
    bool readChunkSize();
    bool readChunkData();
    bool readChunkDataEnd();
    bool readTrailers();
    bool takeLine(QByteArray &line);
    bool appendToBody(qsizetype count);
    Status fail();
    Status complete();

    qsizetype m_maxBodySize;
    QByteArray m_buffer;
    qsizetype m_read = 0;
    Stage m_stage = Stage::Head;
    Status m_status = Status::NeedMoreData;
    int m_statusCode = 0;
    bool m_sawStatusLine = false;
    bool m_chunked = false;
    qsizetype m_contentLength = -1;
    qsizetype m_remaining = 0;
    QByteArray m_body;
};
