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
    // Sent byte for byte as the whole answer: for clients facing odd servers.
    void setRawResponse(const QString &path, const QByteArray &bytes);

    int requestCount(const QString &path) const;
    QList<Request> requests() const;
    void clearRequests();

private:
    void listen();
    void accept();
    void read(QTcpSocket *socket, QByteArray &buffer);
    QByteArray answer(const Request &request);

    QThread m_thread;
    // Lives in m_thread, with the connections as its children.
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_mutex;
    QHash<QString, QByteArray> m_responses;
    QHash<QString, int> m_counts;
    QList<Request> m_requests;
};
