#include "PageServer.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

// Far beyond any request a test sends; a client sending more is cut off.
constexpr qsizetype kMaxRequestSize = 64 * 1024;

QByteArray head(const QByteArray &status, const QByteArray &contentType, qsizetype length)
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + contentType +
           "\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
}

QByteArray response(const QByteArray &status, const QByteArray &contentType, const QByteArray &body)
{
    return head(status, contentType, body.size()) + body;
}

const QByteArray kHtml = QByteArrayLiteral("text/html; charset=utf-8");

QString pathOf(const QByteArray &target)
{
    const qsizetype query = target.indexOf('?');
    return QString::fromUtf8(query < 0 ? target : target.first(query));
}

} // namespace

PageServer::PageServer()
{
    m_thread.start();
    auto context = std::make_unique<QObject>();
    context->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        context.get(), [this] { listen(); }, Qt::BlockingQueuedConnection);
    // The context is only a way into the thread; it may be deleted there.
    context.release()->deleteLater();
}

PageServer::~PageServer()
{
    // Deleted at the thread's end, in the thread, with its connections.
    if (m_server)
        QMetaObject::invokeMethod(
            m_server, [server = m_server] { server->deleteLater(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

QString PageServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

void PageServer::setPage(const QString &path, const QByteArray &body, const QByteArray &contentType)
{
    setRawResponse(path, response("200 OK", contentType, body));
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
    setTitledPage(QStringLiteral("/a.html"), QStringLiteral("Page A"),
                  QStringLiteral("<script>window.open('/b.html')</script>"));
    setTitledPage(QStringLiteral("/b.html"), QStringLiteral("Page B"), QStringLiteral("B"));
    setTitledPage(QStringLiteral("/c.html"), QStringLiteral("Page C"), QStringLiteral("C"));
}

void PageServer::setRawResponse(const QString &path, const QByteArray &bytes)
{
    const QMutexLocker lock(&m_mutex);
    m_responses.insert(path, bytes);
}

void PageServer::setSlowPage(const QString &path, const QByteArray &body, int pieces, int intervalMs)
{
    const QMutexLocker lock(&m_mutex);
    m_slowPages.insert(path, SlowPage{body, std::max(1, pieces), intervalMs});
}

int PageServer::requestCount(const QString &path) const
{
    const QMutexLocker lock(&m_mutex);
    return m_counts.value(path);
}

int PageServer::piecesSent(const QString &path) const
{
    const QMutexLocker lock(&m_mutex);
    return m_piecesSent.value(path);
}

int PageServer::abandonedCount(const QString &path) const
{
    const QMutexLocker lock(&m_mutex);
    return m_abandoned.value(path);
}

QList<PageServer::Request> PageServer::requests() const
{
    const QMutexLocker lock(&m_mutex);
    return m_requests;
}

void PageServer::clearRequests()
{
    const QMutexLocker lock(&m_mutex);
    m_requests.clear();
    m_counts.clear();
}

void PageServer::listen()
{
    m_server = new QTcpServer;
    m_server->setProxy(QNetworkProxy::NoProxy);
    QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] { accept(); });
    if (m_server->listen(QHostAddress(QHostAddress::LocalHost)))
        m_port = m_server->serverPort();
}

void PageServer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(m_server);
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] { read(socket, *buffer); });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

// Answers once the request's head has arrived; a body, which no test sends,
// is not waited for.
void PageServer::read(QTcpSocket *socket, QByteArray &buffer)
{
    // Whatever follows the answered request is dropped with the connection.
    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->readAll();
        return;
    }
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (buffer.size() > kMaxRequestSize)
            socket->abort();
        return;
    }
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    const Request request{requestLine.value(0), requestLine.value(1)};
    buffer.clear();
    const QByteArray whole = answer(request);
    if (whole.isEmpty()) {
        trickle(socket, pathOf(request.target));
        return;
    }
    socket->write(whole);
    socket->disconnectFromHost();
}

QByteArray PageServer::answer(const Request &request)
{
    const QString path = pathOf(request.target);
    const QMutexLocker lock(&m_mutex);
    m_requests.append(request);
    ++m_counts[path];
    if (m_slowPages.contains(path))
        return {};
    return m_responses.value(path, response("404 Not Found", "text/plain", "Not found"));
}

// Sends the head at once and the body piece by piece from a timer of the
// connection's own, so that a reader can watch a page arrive or leave half-way.
void PageServer::trickle(QTcpSocket *socket, const QString &path)
{
    SlowPage page;
    {
        const QMutexLocker lock(&m_mutex);
        page = m_slowPages.value(path);
    }
    socket->write(head("200 OK", kHtml, page.body.size()));
    const qsizetype pieceSize = (page.body.size() + page.pieces - 1) / page.pieces;
    auto sent = std::make_shared<qsizetype>(0);
    auto *timer = new QTimer(socket);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, path, sent, size = page.body.size()] {
        if (*sent < size) {
            const QMutexLocker lock(&m_mutex);
            ++m_abandoned[path];
        }
    });
    const auto sendPiece = [this, socket, timer, path, sent, body = page.body, pieceSize] {
        socket->write(body.mid(*sent, pieceSize));
        *sent += pieceSize;
        {
            const QMutexLocker lock(&m_mutex);
            ++m_piecesSent[path];
        }
        if (*sent >= body.size()) {
            timer->stop();
            socket->disconnectFromHost();
        }
    };
    timer->setInterval(page.intervalMs);
    QObject::connect(timer, &QTimer::timeout, socket, sendPiece);
    sendPiece();
    if (*sent < page.body.size())
        timer->start();
}
