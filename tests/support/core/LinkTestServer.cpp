#include "LinkTestServer.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

constexpr qsizetype kMaxRequestSize = 64 * 1024;
constexpr char kTlsHandshakeRecord = 0x16;

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 410:
        return "Gone";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

QByteArray response(const QByteArray &method, const LinkTestServer::Answer &answer)
{
    const QByteArray body = "<html><body>page</body></html>";
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status) +
                       "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(body.size()) +
                       "\r\nConnection: close\r\n";
    if (!answer.location.isEmpty())
        bytes += "Location: " + answer.location + "\r\n";
    if (!answer.setCookie.isEmpty())
        bytes += "Set-Cookie: " + answer.setCookie + "\r\n";
    bytes += "\r\n";
    if (method != "HEAD")
        bytes += body;
    return bytes;
}

QString pathOf(const QByteArray &target)
{
    const qsizetype query = target.indexOf('?');
    return QString::fromUtf8(query < 0 ? target : target.first(query));
}

} // namespace

struct LinkTestServer::Connection
{
    QTcpSocket *socket = nullptr;
    QString address;
    QByteArray buffer;
    bool holding = false;
};

LinkTestServer::LinkTestServer(const QStringList &addresses)
{
    m_thread.start();
    auto context = std::make_unique<QObject>();
    context->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        context.get(), [this, addresses] { listenOn(addresses); }, Qt::BlockingQueuedConnection);
    context.release()->deleteLater();
}

LinkTestServer::~LinkTestServer()
{
    for (QTcpServer *server : m_servers)
        QMetaObject::invokeMethod(
            server, [server] { server->deleteLater(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void LinkTestServer::listenOn(const QStringList &addresses)
{
    for (const QString &address : addresses) {
        auto *server = new QTcpServer;
        server->setProxy(QNetworkProxy::NoProxy);
        QObject::connect(server, &QTcpServer::newConnection, server, [this, server] { accept(server); });
        m_servers.push_back(server);
        m_addresses << address;
        m_ports << (server->listen(QHostAddress(address)) ? server->serverPort() : quint16(0));
    }
}

bool LinkTestServer::isListening() const
{
    return !m_ports.isEmpty() && !m_ports.contains(quint16(0));
}

QString LinkTestServer::url(const QString &path, int address) const
{
    return QStringLiteral("http://%1:%2%3").arg(m_addresses.value(address)).arg(port(address)).arg(path);
}

quint16 LinkTestServer::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void LinkTestServer::setAnswer(const QString &path, const Answer &answer)
{
    const QMutexLocker lock(&m_mutex);
    m_answers.insert(path, answer);
}

QList<LinkTestServer::Request> LinkTestServer::requests() const
{
    const QMutexLocker lock(&m_mutex);
    return m_requests;
}

int LinkTestServer::requestCount(const QString &path) const
{
    const QMutexLocker lock(&m_mutex);
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&path](const Request &request) { return pathOf(request.target) == path; }));
}

int LinkTestServer::inFlight() const
{
    const QMutexLocker lock(&m_mutex);
    return m_inFlight;
}

int LinkTestServer::maxInFlight() const
{
    const QMutexLocker lock(&m_mutex);
    return m_maxInFlight;
}

int LinkTestServer::maxInFlightAt(const QString &address) const
{
    const QMutexLocker lock(&m_mutex);
    return m_maxInFlightAt.value(address);
}

void LinkTestServer::accept(QTcpServer *server)
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        socket->setParent(server);
        auto connection = std::make_shared<Connection>();
        connection->socket = socket;
        connection->address = socket->localAddress().toString();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, connection] { read(connection); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, connection] {
            end(connection);
            connection->socket->deleteLater();
        });
    }
}

void LinkTestServer::read(const std::shared_ptr<Connection> &connection)
{
    QTcpSocket *socket = connection->socket;
    if (connection->holding || socket->state() != QAbstractSocket::ConnectedState) {
        socket->readAll();
        return;
    }
    connection->buffer += socket->readAll();
    if (connection->buffer.startsWith(kTlsHandshakeRecord)) {
        socket->write("HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
        return;
    }
    const qsizetype headEnd = connection->buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (connection->buffer.size() > kMaxRequestSize)
            socket->abort();
        return;
    }
    const QList<QByteArray> lines = connection->buffer.first(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    Request request{requestLine.value(0), requestLine.value(1), connection->address, {}};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].first(colon).trimmed().toLower(), lines[i].sliced(colon + 1).trimmed());
    }
    connection->buffer.clear();
    answer(connection, request);
}

void LinkTestServer::answer(const std::shared_ptr<Connection> &connection, const Request &request)
{
    Answer answer;
    answer.status = 404;
    {
        const QMutexLocker lock(&m_mutex);
        m_requests.append(request);
        answer = m_answers.value(pathOf(request.target), answer);
    }
    begin(connection->address);
    connection->holding = true;
    const bool head = request.method == "HEAD";
    if (answer.never)
        return;
    if (head && answer.dropHead) {
        end(connection);
        connection->socket->abort();
        return;
    }
    if (head && answer.refuseHead) {
        Answer refusal;
        refusal.status = 405;
        respond(connection, response(request.method, refusal));
        return;
    }
    const QByteArray bytes = response(request.method, answer);
    if (answer.delayMs <= 0) {
        respond(connection, bytes);
        return;
    }
    QTimer::singleShot(answer.delayMs, connection->socket, [this, connection, bytes] {
        if (connection->socket->state() == QAbstractSocket::ConnectedState)
            respond(connection, bytes);
    });
}

void LinkTestServer::respond(const std::shared_ptr<Connection> &connection, const QByteArray &bytes)
{
    end(connection);
    connection->socket->write(bytes);
    connection->socket->disconnectFromHost();
}

void LinkTestServer::begin(const QString &address)
{
    const QMutexLocker lock(&m_mutex);
    m_maxInFlight = std::max(m_maxInFlight, ++m_inFlight);
    m_maxInFlightAt[address] = std::max(m_maxInFlightAt.value(address), ++m_inFlightAt[address]);
}

// A request counts from its arrival until it is answered or its client goes.
void LinkTestServer::end(const std::shared_ptr<Connection> &connection)
{
    if (!connection->holding)
        return;
    connection->holding = false;
    const QMutexLocker lock(&m_mutex);
    --m_inFlight;
    --m_inFlightAt[connection->address];
}
