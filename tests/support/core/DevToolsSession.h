#pragma once

#include <QJsonObject>
#include <QString>

#include <memory>

class QWebSocket;

// One DevTools protocol session with a target of a browser started with a
// debugging port: a page, or an extension's service worker, in which a test
// runs script as if the extension itself ran it.
class DevToolsSession
{
public:
    DevToolsSession();
    ~DevToolsSession();

    // The WebSocket address of the first target of that type whose address
    // starts so; empty when there is none yet.
    static QString findTarget(quint16 port, const QString &type, const QString &urlPrefix);

    bool open(const QString &webSocketUrl, int timeoutMs);
    // Runs the expression, waiting for a promise it gives; the result's
    // value, or {"exception": text} when it threw.
    QJsonObject evaluate(const QString &expression, int timeoutMs);

private:
    std::unique_ptr<QWebSocket> m_socket;
    int m_nextId = 1;
    QList<QJsonObject> m_received;
};
