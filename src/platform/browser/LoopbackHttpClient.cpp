#include "platform/browser/LoopbackHttpClient.h"

#include "platform/browser/HttpResponseReader.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpSocket>

#include <algorithm>
#include <limits>

namespace {

// waitFor* take milliseconds, -1 for ever; an expired deadline gives 0.
int remainingMs(const QDeadlineTimer &deadline)
{
    const qint64 left = deadline.remainingTime();
    return left < 0 ? -1 : int(std::min<qint64>(left, std::numeric_limits<int>::max()));
}

QByteArray requestBytes(quint16 port, const QByteArray &method, const QByteArray &target)
{
    // The debugging endpoints refuse a Host that is not an address or localhost.
    return method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
           "\r\nAccept: application/json\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

bool sendAll(QTcpSocket &socket, const QByteArray &bytes, const QDeadlineTimer &deadline)
{
    if (socket.write(bytes) != bytes.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline)))
            return false;
    }
    return true;
}

// Chromium keeps the connection open after its answer whatever the request
// says, so the response's own framing decides when it is complete.
HttpResponseReader::Status receive(QTcpSocket &socket, HttpResponseReader &reader, const QDeadlineTimer &deadline)
{
    HttpResponseReader::Status status = reader.append(socket.readAll());
    while (status == HttpResponseReader::Status::NeedMoreData) {
        if (socket.state() != QAbstractSocket::ConnectedState)
            return reader.finish();
        if (!socket.waitForReadyRead(remainingMs(deadline))) {
            if (socket.error() != QAbstractSocket::RemoteHostClosedError)
                return HttpResponseReader::Status::Failed;
            status = reader.append(socket.readAll());
            return status == HttpResponseReader::Status::NeedMoreData ? reader.finish() : status;
        }
        status = reader.append(socket.readAll());
    }
    return status;
}

} // namespace

std::optional<LoopbackHttpClient::Reply> LoopbackHttpClient::request(quint16 port, const QByteArray &method,
                                                                     const QByteArray &target,
                                                                     const QDeadlineTimer &deadline)
{
    if (port == 0 || deadline.hasExpired())
        return std::nullopt;
    QTcpSocket socket;
    // A proxy the application or the system names would carry the request elsewhere.
    socket.setProxy(QNetworkProxy::NoProxy);
    socket.connectToHost(QHostAddress(QHostAddress::LocalHost), port);
    if (!socket.waitForConnected(remainingMs(deadline)) ||
        !sendAll(socket, requestBytes(port, method, target), deadline))
        return std::nullopt;
    HttpResponseReader reader;
    const HttpResponseReader::Status status = receive(socket, reader, deadline);
    socket.abort();
    if (status != HttpResponseReader::Status::Complete)
        return std::nullopt;
    return Reply{reader.statusCode(), reader.body()};
}
