#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// A small web server on 127.0.0.1 for pages a test previews. It counts the
// requests for each path, and can send a page slowly, piece by piece.
class PageServer : public QObject
{
    Q_OBJECT

public:
    PageServer();

    QString url(const QString &path) const;
    void servePage(const QString &path, const QByteArray &body);
    // The body in this many pieces, one every interval.
    void serveSlowly(const QString &path, const QByteArray &body, int pieces, int intervalMs);

    int requestCount(const QString &path) const { return m_requests.value(path); }
    // Pieces of slow pages sent so far.
    int piecesSent(const QString &path) const { return m_piecesSent.value(path); }
    // Responses whose reader went away before the whole body was sent.
    int abandonedCount(const QString &path) const { return m_abandoned.value(path); }

private:
    struct Page
    {
        QByteArray body;
        int pieces = 1;
        int intervalMs = 0;
    };

    void readRequest(QTcpSocket *socket);
    void respond(QTcpSocket *socket, const QString &path);
    void trickle(QTcpSocket *socket, const QString &path, const Page &page);

    QTcpServer m_server;
    QHash<QString, Page> m_pages;
    QHash<QString, int> m_requests;
    QHash<QString, int> m_piecesSent;
    QHash<QString, int> m_abandoned;
};
