#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QJsonObject>
#include <QString>
#include <QTcpSocket>

// One DevTools protocol session with a target of a browser started with a
// debugging port: a page, or an extension's service worker, in which a test
// runs script as if the extension itself ran it. A plain WebSocket client
// over a blocking socket: the few frames a session needs, nothing more.
class DevToolsSession
{
public:
    // The WebSocket address of the first target of that type whose address
    // starts so; empty when there is none yet.
    static QString findTarget(quint16 port, const QString &type, const QString &urlPrefix);

    bool open(const QString &webSocketUrl, int timeoutMs);
    // Runs the expression, waiting for a promise it gives; the result's
    // value, or {"exception": text} when it threw or nothing came in time.
    QJsonObject evaluate(const QString &expression, int timeoutMs);

private:
    bool sendText(const QByteArray &text);
    // The next text frame; empty when none came before the deadline.
    QByteArray nextText(const QDeadlineTimer &deadline);
    bool fill(qsizetype bytes, const QDeadlineTimer &deadline);

    QTcpSocket m_socket;
    QByteArray m_buffer;
    int m_nextId = 1;
};
