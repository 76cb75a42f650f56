#include "LocalHttpServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

QByteArray response(const QMap<QString, LocalHttpServer::Page> &pages, const QByteArray &request)
{
    const QString path = QString::fromLatin1(request.split(' ').value(1)).section(QLatin1Char('?'), 0, 0);
    if (!pages.contains(path))
        return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    const LocalHttpServer::Page &page = pages.value(path);
    const QByteArray html = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                           "<body>%2</body></html>")
                                .arg(page.title, page.body)
                                .toUtf8();
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: " +
           QByteArray::number(html.size()) + "\r\n\r\n" + html;
}

} // namespace

LocalHttpServer::LocalHttpServer(const QMap<QString, Page> &pages)
{
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context,
        [this, pages] {
            m_server = new QTcpServer(m_context);
            QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this, pages] {
                while (QTcpSocket *socket = m_server->nextPendingConnection()) {
                    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                    QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, pages] {
                        // Keep reading until the request's head is complete.
                        if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
                            return;
                        socket->write(response(pages, socket->readAll()));
                        socket->disconnectFromHost();
                    });
                }
            });
            m_server->listen(QHostAddress::LocalHost);
            m_port = m_server->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

LocalHttpServer::~LocalHttpServer()
{
    m_thread.quit();
    m_thread.wait();
}

QString LocalHttpServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}
