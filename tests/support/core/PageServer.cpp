#include "PageServer.h"

#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray header(const QByteArray &status, qsizetype length)
{
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
}

} // namespace

PageServer::PageServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        }
    });
}

QString PageServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
}

void PageServer::servePage(const QString &path, const QByteArray &body)
{
    m_pages.insert(path, Page{body});
}

void PageServer::serveSlowly(const QString &path, const QByteArray &body, int pieces, int intervalMs)
{
    m_pages.insert(path, Page{body, pieces, intervalMs});
}

// Answers once the request's head is complete; the body of a request is
// never needed here.
void PageServer::readRequest(QTcpSocket *socket)
{
    if (socket->property("answered").toBool() || !socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = socket->readLine().trimmed().split(' ');
    const QString path = requestLine.size() >= 2 ? QString::fromLatin1(requestLine[1]) : QString();
    ++m_requests[path];
    respond(socket, path);
}

void PageServer::respond(QTcpSocket *socket, const QString &path)
{
    const auto page = m_pages.constFind(path);
    if (page == m_pages.constEnd()) {
        const QByteArray body = "not here";
        socket->write(header("404 Not Found", body.size()) + body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(header("200 OK", page->body.size()));
    trickle(socket, path, *page);
}

void PageServer::trickle(QTcpSocket *socket, const QString &path, const Page &page)
{
    socket->setProperty("unfinished", true);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket, path] {
        if (socket->property("unfinished").toBool())
            ++m_abandoned[path];
    });
    const qsizetype pieceSize = (page.body.size() + page.pieces - 1) / page.pieces;
    auto *timer = new QTimer(socket); // goes with the socket
    auto sendPiece = [this, socket, timer, path, body = page.body, pieceSize] {
        const qsizetype offset = socket->property("sent").toLongLong();
        socket->write(body.mid(offset, pieceSize));
        socket->setProperty("sent", qlonglong(offset + pieceSize));
        ++m_piecesSent[path];
        if (offset + pieceSize >= body.size()) {
            socket->setProperty("unfinished", false);
            timer->stop();
            socket->disconnectFromHost();
        }
    };
    timer->setInterval(page.intervalMs);
    connect(timer, &QTimer::timeout, socket, sendPiece);
    sendPiece();
    if (socket->property("unfinished").toBool())
        timer->start();
}
