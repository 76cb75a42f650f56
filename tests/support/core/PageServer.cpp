#include "PageServer.h"

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
    static const QHash<int, QByteArray> reasons{
        {200, "OK"},   {301, "Moved Permanently"},    {302, "Found"}, {404, "Not Found"}, {405, "Method Not Allowed"},
        {410, "Gone"}, {500, "Internal Server Error"}};
    return reasons.value(status, "Status");
}

// The status line and headers; Content-Length counts the body even for a
// HEAD, which gets none.
QByteArray head(const PageServer::Answer &answer)
{
    QByteArray bytes = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason(answer.status) +
                       "\r\nContent-Type: " + answer.contentType +
                       "\r\nContent-Length: " + QByteArray::number(answer.body.size()) +
                       "\r\nCache-Control: no-store\r\nConnection: close\r\n";
    if (!answer.location.isEmpty())
        bytes += "Location: " + answer.location + "\r\n";
    if (!answer.setCookie.isEmpty())
        bytes += "Set-Cookie: " + answer.setCookie + "\r\n";
    return bytes + "\r\n";
}

QByteArray response(const QByteArray &method, const PageServer::Answer &answer)
{
    if (answer.raw)
        return *answer.raw;
    return head(answer) + (method == "HEAD" ? QByteArray() : answer.body);
}

QString pathOf(const QByteArray &target)
{
    const qsizetype query = target.indexOf('?');
    return QString::fromUtf8(query < 0 ? target : target.first(query));
}

} // namespace

struct PageServer::Connection
{
    QTcpSocket *socket = nullptr;
    QString address;
    QByteArray buffer;
    bool holding = false;
};

PageServer::PageServer(const QStringList &addresses)
{
    m_thread.start();
    auto context = std::make_unique<QObject>();
    context->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        context.get(), [this, addresses] { listenOn(addresses); }, Qt::BlockingQueuedConnection);
    context.release()->deleteLater();
}

PageServer::~PageServer()
{
    for (QTcpServer *server : m_servers)
        QMetaObject::invokeMethod(
            server, [server] { server->deleteLater(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void PageServer::listenOn(const QStringList &addresses)
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

bool PageServer::isListening() const
{
    return !m_ports.isEmpty() && !m_ports.contains(quint16(0));
}

QString PageServer::url(const QString &path, int address) const
{
    return QStringLiteral("http://%1:%2%3").arg(m_addresses.value(address)).arg(port(address)).arg(path);
}

quint16 PageServer::closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void PageServer::setAnswer(const QString &path, const Answer &answer)
{
    const QMutexLocker lock(&m_mutex);
    m_answers.insert(path, answer);
}

void PageServer::setPage(const QString &path, const QByteArray &body, const QByteArray &contentType)
{
    setAnswer(path, {.body = body, .contentType = contentType});
}

void PageServer::setTitledPage(const QString &path, const QString &title, const QString &body)
{
    setPage(path, QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                 "<body>%2</body></html>")
                      .arg(title, body)
                      .toUtf8());
}

void PageServer::setLinkedPages()
{
    setTitledPage("/a.html", "Page A", "<script>window.open('/b.html')</script>");
    setTitledPage("/b.html", "Page B", "B");
    setTitledPage("/c.html", "Page C", "C");
}

int PageServer::requestCount(const QString &path) const
{
    const QMutexLocker lock(&m_mutex);
    return int(std::count_if(m_requests.begin(), m_requests.end(),
                             [&path](const Request &request) { return pathOf(request.target) == path; }));
}

void PageServer::accept(QTcpServer *server)
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

void PageServer::read(const std::shared_ptr<Connection> &connection)
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

void PageServer::answer(const std::shared_ptr<Connection> &connection, const Request &request)
{
    Answer answer{.status = 404, .body = "Not found", .contentType = "text/plain"};
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
        respond(connection, response(request.method, {.status = 405}));
        return;
    }
    if (answer.pieces > 1 && !answer.raw) {
        trickle(connection, pathOf(request.target), answer);
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

void PageServer::respond(const std::shared_ptr<Connection> &connection, const QByteArray &bytes)
{
    end(connection);
    connection->socket->write(bytes);
    connection->socket->disconnectFromHost();
}

// Sends the head at once and the body piece by piece from a timer of the
// connection's own, so that a reader can watch a page arrive or leave half-way.
void PageServer::trickle(const std::shared_ptr<Connection> &connection, const QString &path, const Answer &answer)
{
    QTcpSocket *socket = connection->socket;
    socket->write(head(answer));
    const qsizetype pieceSize = (answer.body.size() + answer.pieces - 1) / answer.pieces;
    auto sent = std::make_shared<qsizetype>(0);
    auto *timer = new QTimer(socket);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, path, sent, size = answer.body.size()] {
        if (*sent < size) {
            const QMutexLocker lock(&m_mutex);
            ++m_abandoned[path];
        }
    });
    const auto sendPiece = [this, connection, timer, path, sent, body = answer.body, pieceSize] {
        connection->socket->write(body.mid(*sent, pieceSize));
        *sent += pieceSize;
        {
            const QMutexLocker lock(&m_mutex);
            ++m_piecesSent[path];
        }
        if (*sent >= body.size()) {
            timer->stop();
            respond(connection, {});
        }
    };
    timer->setInterval(answer.intervalMs);
    QObject::connect(timer, &QTimer::timeout, socket, sendPiece);
    sendPiece();
    if (*sent < answer.body.size())
        timer->start();
}

void PageServer::begin(const QString &address)
{
    const QMutexLocker lock(&m_mutex);
    m_maxInFlight = std::max(m_maxInFlight, ++m_inFlight);
    m_maxInFlightAt[address] = std::max(m_maxInFlightAt.value(address), ++m_inFlightAt[address]);
}

// A request counts from its arrival until it is answered or its client goes.
void PageServer::end(const std::shared_ptr<Connection> &connection)
{
    if (!connection->holding)
        return;
    connection->holding = false;
    const QMutexLocker lock(&m_mutex);
    --m_inFlight;
    --m_inFlightAt[connection->address];
}
