#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>
#include <QStringList>
#include <QThread>

#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

class QTcpServer;

// An HTTP/1.1 server for tests, on one or more loopback addresses (each a
// "host" of its own), in a thread of its own, so it keeps answering while
// the test thread blocks in a synchronous client or polls a browser. Answers
// are scripted per path: a page, any status, a redirect, a delay, a page in
// slow pieces, bytes as they are, no answer at all, a refused or dropped
// HEAD. Each connection gets one answer and is then closed. It remembers what
// was asked and counts the requests it holds at once, overall and per
// address, and answers a TLS greeting as a plain HTTP server does.
class PageServer
{
public:
    // Every member has an initializer, so that an answer names only what it
    // changes ({.status = 410}) without a warning for the others.
    struct Answer
    {
        int status = 200;
        QByteArray location{};
        QByteArray setCookie{};
        int delayMs = 0;
        bool never = false;
        // HEAD gets 405.
        bool refuseHead = false;
        // HEAD gets the connection closed without a word.
        bool dropHead = false;
        QByteArray body = "<html><body>page</body></html>";
        QByteArray contentType = "text/html; charset=utf-8";
        // The body goes in this many pieces, one every interval.
        int pieces = 1;
        int intervalMs = 0;
        // Sent byte for byte instead: for clients facing odd servers.
        std::optional<QByteArray> raw{};
    };

    struct Request
    {
        QByteArray method{};
        // As sent: path and query, still percent-encoded.
        QByteArray target{};
        // The loopback address the request came to.
        QString address{};
        // Header names in lower case.
        QHash<QByteArray, QByteArray> headers{};

        // What was asked, wherever it came.
        friend bool operator==(const Request &a, const Request &b)
        {
            return a.method == b.method && a.target == b.target;
        }
    };

    explicit PageServer(const QStringList &addresses = {QStringLiteral("127.0.0.1")});
    ~PageServer();
    PageServer(const PageServer &) = delete;
    PageServer &operator=(const PageServer &) = delete;

    bool isListening() const;
    // http://<address>:<port><path>, for the address given at that place.
    QString url(const QString &path, int address = 0) const;
    quint16 port(int address = 0) const { return m_ports.value(address); }
    // A port on 127.0.0.1 where nobody listens.
    static quint16 closedPort();

    // For a request whose path (the target before any '?') is this one;
    // other paths get 404.
    void setAnswer(const QString &path, const Answer &answer);
    void setPage(const QString &path, const QByteArray &body,
                 const QByteArray &contentType = QByteArrayLiteral("text/html; charset=utf-8"));
    // A whole HTML document with this title and body.
    void setTitledPage(const QString &path, const QString &title, const QString &body);
    // What the real-browser tests load: /a.html opens /b.html itself,
    // /c.html is there to be opened; titled "Page A", "Page B", "Page C".
    void setLinkedPages();

    QList<Request> requests() const
    {
        return locked([this] { return m_requests; });
    }
    int requestCount(const QString &path) const;
    void clearRequests()
    {
        locked([this] { m_requests.clear(); });
    }
    // Pieces of a page in pieces sent so far, over all its requests.
    int piecesSent(const QString &path) const
    {
        return locked([&] { return m_piecesSent.value(path); });
    }
    // Answers whose reader went away before the whole body was sent.
    int abandonedCount(const QString &path) const
    {
        return locked([&] { return m_abandoned.value(path); });
    }
    // Requests received and not yet answered or given up by their client.
    int inFlight() const
    {
        return locked([this] { return m_inFlight; });
    }
    int maxInFlight() const
    {
        return locked([this] { return m_maxInFlight; });
    }
    int maxInFlightAt(const QString &address) const
    {
        return locked([&] { return m_maxInFlightAt.value(address); });
    }

private:
    struct Connection;

    // What the server's thread writes is read under its lock.
    template<typename Read>
    std::invoke_result_t<Read> locked(Read read) const
    {
        const QMutexLocker lock(&m_mutex);
        return read();
    }

    void listenOn(const QStringList &addresses);
    void accept(QTcpServer *server);
    void read(const std::shared_ptr<Connection> &connection);
    void answer(const std::shared_ptr<Connection> &connection, const Request &request);
    void respond(const std::shared_ptr<Connection> &connection, const QByteArray &bytes);
    void trickle(const std::shared_ptr<Connection> &connection, const QString &path, const Answer &answer);
    void begin(const QString &address);
    void end(const std::shared_ptr<Connection> &connection);

    QThread m_thread;
    std::vector<QTcpServer *> m_servers;
    QList<quint16> m_ports;
    QStringList m_addresses;
    mutable QMutex m_mutex;
    QHash<QString, Answer> m_answers;
    QList<Request> m_requests;
    QHash<QString, int> m_piecesSent;
    QHash<QString, int> m_abandoned;
    int m_inFlight = 0;
    int m_maxInFlight = 0;
    QHash<QString, int> m_inFlightAt;
    QHash<QString, int> m_maxInFlightAt;
};
