#include "DevToolsSession.h"

#include "platform/browser/LoopbackHttpClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QUrl>
#include <QWebSocket>

DevToolsSession::DevToolsSession()
    : m_socket(std::make_unique<QWebSocket>())
{
    QObject::connect(m_socket.get(), &QWebSocket::textMessageReceived,
                     [this](const QString &text) { m_received << QJsonDocument::fromJson(text.toUtf8()).object(); });
}

DevToolsSession::~DevToolsSession() = default;

QString DevToolsSession::findTarget(quint16 port, const QString &type, const QString &urlPrefix)
{
    const auto reply = LoopbackHttpClient::request(port, "GET", "/json/list", QDeadlineTimer(5000));
    if (!reply)
        return {};
    for (const QJsonValue &target : QJsonDocument::fromJson(reply->body).array()) {
        const QJsonObject entry = target.toObject();
        if (entry.value(QStringLiteral("type")).toString() == type &&
            entry.value(QStringLiteral("url")).toString().startsWith(urlPrefix))
            return entry.value(QStringLiteral("webSocketDebuggerUrl")).toString();
    }
    return {};
}

bool DevToolsSession::open(const QString &webSocketUrl, int timeoutMs)
{
    m_socket->open(QUrl(webSocketUrl));
    return QTest::qWaitFor([this] { return m_socket->state() == QAbstractSocket::ConnectedState; }, timeoutMs);
}

QJsonObject DevToolsSession::evaluate(const QString &expression, int timeoutMs)
{
    const int id = m_nextId++;
    const QJsonObject call{{QStringLiteral("id"), id},
                           {QStringLiteral("method"), QStringLiteral("Runtime.evaluate")},
                           {QStringLiteral("params"), QJsonObject{{QStringLiteral("expression"), expression},
                                                                  {QStringLiteral("awaitPromise"), true},
                                                                  {QStringLiteral("returnByValue"), true}}}};
    m_socket->sendTextMessage(QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact)));
    QJsonObject answer;
    (void)QTest::qWaitFor(
        [&] {
            for (const QJsonObject &message : std::as_const(m_received)) {
                if (message.value(QStringLiteral("id")).toInt() == id) {
                    answer = message;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    const QJsonObject result = answer.value(QStringLiteral("result")).toObject();
    if (result.contains(QStringLiteral("exceptionDetails")) || answer.contains(QStringLiteral("error")) ||
        answer.isEmpty())
        return {{QStringLiteral("exception"), QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact))}};
    return result.value(QStringLiteral("result")).toObject();
}
