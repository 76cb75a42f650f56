#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>

#include <vector>

class QTcpServer;
class QTcpSocket;

// An HTTP server for link checks, on one or more loopback addresses (each a
// "host" of its own), in a thread of its own. Answers are scripted per path:
// any status, a redirect, a delay, no answer at all, a refused or dropped
// HEAD. It keeps count of the requests it holds at once, overall and per
// address, and answers a TLS greeting as a plain HTTP server does.
class LinkTestServer
{
public:
    struct Answer
    {
        int status = 200;
        QByteArray location;
        QByteArray setCookie;
        int delayMs = 0;
        bool never = false;
        // HEAD gets 405.
        bool refuseHead = false;
        // HEAD gets the connection closed without a word.
        bool dropHead = false;
    };

    struct Request
    {
        QByteArray method;
        QByteArray target;
        // The loopback address the request came to.
        QString address;
        // Header names in lower case.
        QHash<QByteArray, QByteArray> headers;
    };

    explicit LinkTestServer(const QStringList &addresses = {QStringLiteral("127.0.0.1")});
    ~LinkTestServer();
    LinkTestServer(const LinkTestServer &) = delete;
    LinkTestServer &operator=(const LinkTestServer &) = delete;

    bool isListening() const;
    // http://<address>:<port><path>, for the address given at that place.
    QString url(const QString &path, int address = 0) const;
    quint16 port(int address = 0) const { return m_ports.value(address); }
    // A port on 127.0.0.1 where nobody listens.
    static quint16 closedPort();

    // Paths without an answer get 404.
    void setAnswer(const QString &path, const Answer &answer);
    QList<Request> requests() const;
    int requestCount(const QString &path) const;
    // Requests received and not yet answered or given up by their client.
    int inFlight() const;
    int maxInFlight() const;
    int maxInFlightAt(const QString &address) const;

private:
    struct Connection;

    void listenOn(const QStringList &addresses);
    void accept(QTcpServer *server);
    void read(const std::shared_ptr<Connection> &connection);
    void answer(const std::shared_ptr<Connection> &connection, const Request &request);
    void respond(const std::shared_ptr<Connection> &connection, const QByteArray &bytes);
    void begin(const QString &address);
    void end(const std::shared_ptr<Connection> &connection);

    QThread m_thread;
    std::vector<QTcpServer *> m_servers;
    QList<quint16> m_ports;
    QStringList m_addresses;
    mutable QMutex m_mutex;
    QHash<QString, Answer> m_answers;
    QList<Request> m_requests;
    int m_inFlight = 0;
    int m_maxInFlight = 0;
    QHash<QString, int> m_inFlightAt;
    QHash<QString, int> m_maxInFlightAt;
};
