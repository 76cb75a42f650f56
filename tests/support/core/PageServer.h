#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>

class QTcpServer;
class QTcpSocket;

// A tiny HTTP/1.1 server on 127.0.0.1 for tests: serves the pages it is
// given and remembers what was asked. It runs in a thread of its own, so it
// keeps answering while the test thread blocks in a synchronous client or
// polls a browser. Each connection gets one answer and is then closed.
class PageServer
{
public:
    struct Request
    {
        QByteArray method;
        // As sent: path and query, still percent-encoded.
        QByteArray target;

        friend bool operator==(const Request &, const Request &) = default;
    };

    PageServer();
    ~PageServer();
    PageServer(const PageServer &) = delete;
    PageServer &operator=(const PageServer &) = delete;

    bool isListening() const { return m_port != 0; }
    quint16 port() const { return m_port; }
    // http://127.0.0.1:<port><path>
    QString url(const QString &path) const;

    // Answered with 200 for a request whose path (the target before any '?')
    // is this one; anything else gets 404.
    void setPage(const QString &path, const QByteArray &body,
                 const QByteArray &contentType = QByteArrayLiteral("text/html; charset=utf-8"));
    // A whole HTML document with this title and body.
    void setTitledPage(const QString &path, const QString &title, const QString &body);
    // What the real-browser tests load: /a.html opens /b.html itself,
    // /c.html is there to be opened; titled "Page A", "Page B", "Page C".
    void setLinkedPages();
    // Sent byte for byte as the whole answer: for clients facing odd servers.
    void setRawResponse(const QString &path, const QByteArray &bytes);
    // An HTML page whose body comes in this many pieces, one every interval.
    void setSlowPage(const QString &path, const QByteArray &body, int pieces, int intervalMs);

    int requestCount(const QString &path) const;
    // Pieces of a slow page sent so far, over all its requests.
    int piecesSent(const QString &path) const;
    // Answers whose reader went away before the whole body was sent.
    int abandonedCount(const QString &path) const;
    QList<Request> requests() const;
    void clearRequests();

private:
    void listen();
    void accept();
    void read(QTcpSocket *socket, QByteArray &buffer);
    QByteArray answer(const Request &request);
    void trickle(QTcpSocket *socket, const QString &path);

    struct SlowPage
    {
        QByteArray body;
        int pieces = 1;
        int intervalMs = 0;
    };

    QThread m_thread;
    // Lives in m_thread, with the connections as its children.
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QHash<QString, QByteArray> m_responses;
    QHash<QString, int> m_counts;
    QHash<QString, SlowPage> m_slowPages;
    QHash<QString, int> m_piecesSent;
    QHash<QString, int> m_abandoned;
    QList<Request> m_requests;
};
