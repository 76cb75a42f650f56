#include "DevToolsSession.h"

#include "platform/browser/LoopbackHttpClient.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QUrl>
#include <QtEndian>

namespace {

constexpr quint8 kTextFrame = 0x1;
constexpr quint8 kCloseFrame = 0x8;

int remaining(const QDeadlineTimer &deadline)
{
    return int(qMax<qint64>(1, deadline.remainingTime()));
}

} // namespace

QString DevToolsSession::findTarget(quint16 port, const QString &type, const QString &urlPrefix)
{
    const auto reply = LoopbackHttpClient::request(port, "GET", "/json/list", QDeadlineTimer(5000));
    if (!reply)
        return {};
    for (const QJsonValue &target : QJsonDocument::fromJson(reply->body).array()) {
        const QJsonObject entry = target.toObject();
        if (entry.value("type").toString() == type && entry.value("url").toString().startsWith(urlPrefix))
            return entry.value("webSocketDebuggerUrl").toString();
    }
    return {};
}

bool DevToolsSession::open(const QString &webSocketUrl, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const QUrl url(webSocketUrl);
    m_socket.connectToHost(url.host(), quint16(url.port()));
    if (!m_socket.waitForConnected(remaining(deadline)))
        return false;
    QByteArray nonce(16, Qt::Uninitialized);
    for (char &byte : nonce)
        byte = char(QRandomGenerator::global()->bounded(256));
    m_socket.write("GET " + url.path().toUtf8() + " HTTP/1.1\r\nHost: " + url.authority().toUtf8() +
                   "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: " + nonce.toBase64() +
                   "\r\nSec-WebSocket-Version: 13\r\n\r\n");
    m_socket.flush();
    qsizetype end = -1;
    while ((end = m_buffer.indexOf("\r\n\r\n")) < 0) {
        if (!m_socket.waitForReadyRead(remaining(deadline)))
            return false;
        m_buffer += m_socket.readAll();
    }
    const bool upgraded = m_buffer.startsWith("HTTP/1.1 101");
    m_buffer.remove(0, end + 4);
    return upgraded;
}

// Client frames are masked, as the protocol requires.
bool DevToolsSession::sendText(const QByteArray &text)
{
    QByteArray frame;
    frame += char(0x80 | kTextFrame);
    // Lengths take the shortest form: the browser drops a session that
    // sends a longer one.
    if (text.size() < 126) {
        frame += char(0x80 | text.size());
    } else if (text.size() <= 0xffff) {
        frame += char(0x80 | 126);
        QByteArray length(2, Qt::Uninitialized);
        qToBigEndian(quint16(text.size()), length.data());
        frame += length;
    } else {
        frame += char(0x80 | 127);
        QByteArray length(8, Qt::Uninitialized);
        qToBigEndian(quint64(text.size()), length.data());
        frame += length;
    }
    const quint32 mask = QRandomGenerator::global()->generate();
    QByteArray maskBytes(4, Qt::Uninitialized);
    qToBigEndian(mask, maskBytes.data());
    frame += maskBytes;
    for (qsizetype i = 0; i < text.size(); ++i)
        frame += char(text[i] ^ maskBytes[i % 4]);
    m_socket.write(frame);
    return m_socket.flush() || m_socket.bytesToWrite() == 0;
}

bool DevToolsSession::fill(qsizetype bytes, const QDeadlineTimer &deadline)
{
    while (m_buffer.size() < bytes) {
        if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(remaining(deadline)))
            return false;
        m_buffer += m_socket.readAll();
    }
    return true;
}

QByteArray DevToolsSession::nextText(const QDeadlineTimer &deadline)
{
    for (;;) {
        if (!fill(2, deadline))
            return {};
        const quint8 opcode = quint8(m_buffer[0]) & 0x0f;
        quint64 length = quint8(m_buffer[1]) & 0x7f;
        qsizetype header = 2;
        if (length == 126) {
            if (!fill(4, deadline))
                return {};
            length = qFromBigEndian<quint16>(m_buffer.constData() + 2);
            header = 4;
        } else if (length == 127) {
            if (!fill(10, deadline))
                return {};
            length = qFromBigEndian<quint64>(m_buffer.constData() + 2);
            header = 10;
        }
        if (!fill(header + qsizetype(length), deadline))
            return {};
        const QByteArray payload = m_buffer.mid(header, qsizetype(length));
        m_buffer.remove(0, header + qsizetype(length));
        if (opcode == kCloseFrame)
            return {};
        if (opcode == kTextFrame)
            return payload;
    }
}

QJsonObject DevToolsSession::evaluate(const QString &expression, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const int id = m_nextId++;
    const QJsonObject call{
        {"id", id},
        {"method", "Runtime.evaluate"},
        {"params", QJsonObject{{"expression", expression}, {"awaitPromise", true}, {"returnByValue", true}}}};
    QJsonObject answer;
    if (sendText(QJsonDocument(call).toJson(QJsonDocument::Compact))) {
        while (!deadline.hasExpired()) {
            const QByteArray text = nextText(deadline);
            if (text.isEmpty())
                break;
            const QJsonObject message = QJsonDocument::fromJson(text).object();
            if (message.value("id").toInt() == id) {
                answer = message;
                break;
            }
        }
    }
    const QJsonObject result = answer.value("result").toObject();
    if (answer.isEmpty() || answer.contains("error") || result.contains("exceptionDetails"))
        return {{"exception", answer.isEmpty()
                                  ? "no answer"
                                  : QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact))}};
    return result.value("result").toObject();
}
