#pragma once

#include <QMap>
#include <QString>
#include <QThread>

#include <memory>

class QTcpServer;

// Serves a few fixed HTML pages on 127.0.0.1 from a thread of its own, so
// that pages keep loading while a test blocks in a bridge query.
class LocalHttpServer
{
public:
    struct Page
    {
        QString title;
        QString body;
    };
    // By path ("/a.html").
    explicit LocalHttpServer(const QMap<QString, Page> &pages);
    ~LocalHttpServer();

    QString url(const QString &path) const;

private:
    QThread m_thread;
    // Live in m_thread, which deletes them as it ends.
    QObject *m_context = nullptr;
    QTcpServer *m_server = nullptr;
    quint16 m_port = 0;
};
