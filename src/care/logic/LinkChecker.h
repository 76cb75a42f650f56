#pragma once

#include "care/logic/LinkCheckResult.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QUrl>

#include <deque>
#include <vector>

class QNetworkAccessManager;
class QNetworkReply;

// Asks for every address given, a few at a time and never many at once from
// one host, and says what each answer came to. HEAD first; a server that
// refuses HEAD is asked again with a GET for the first bytes only. Redirects
// are followed one by one so that each hop's status is known. Nothing is
// kept between requests: no cookies, no cache.
class LinkChecker : public QObject
{
    Q_OBJECT

public:
    struct Settings
    {
        int maxRequests = 8;
        int maxPerHost = 2;
        int timeoutMs = 15000;
        int maxRedirects = 5;
        QByteArray userAgent = defaultUserAgent();
    };

    struct Link
    {
        QString id;
        QString address;
    };

    explicit LinkChecker(QObject *parent = nullptr);
    explicit LinkChecker(const Settings &settings, QObject *parent = nullptr);
    ~LinkChecker() override;

    // Names the program and its version, so that site owners know who asks.
    static QByteArray defaultUserAgent();
    // Only web addresses are checked.
    static bool isCheckable(const QString &address);

    // Starts checking; results come from the event loop, never from here.
    void start(const std::vector<Link> &links);
    // Stops at once: running requests are dropped, no other one starts, and
    // finished(true) comes before this returns.
    void cancel();
    bool isRunning() const { return m_running; }
    int total() const { return int(m_checks.size()); }
    int done() const { return m_done; }

signals:
    void checked(const LinkCheckResult &result);
    void progressChanged(int done, int total);
    void finished(bool cancelled);

private:
    struct Check
    {
        LinkCheckResult result;
        QUrl url;
        bool useGet = false;
    };

    struct Running
    {
        int check = 0;
        QString host;
    };

    void enqueue(int check, bool first);
    void startWaitingRequests();
    void send(int check);
    void onMetaData(QNetworkReply *reply);
    void onFinished(QNetworkReply *reply);
    void onTimeout(QNetworkReply *reply);
    void release(QNetworkReply *reply);
    void answerWithStatus(int check, QNetworkReply *reply, int status);
    void answerWithError(int check, QNetworkReply *reply);
    void followRedirect(int check, const QUrl &target, int status);
    void concludeWithStatus(int check, int status);
    void conclude(int check, LinkOutcome outcome, const QString &error = QString());
    void dropAllRequests();

    Settings m_settings;
    QNetworkAccessManager *m_network;
    std::vector<Check> m_checks;
    // Checks waiting per host, and the hosts in turn.
    QHash<QString, std::deque<int>> m_waiting;
    std::deque<QString> m_hostTurns;
    QHash<QString, int> m_runningPerHost;
    QHash<QNetworkReply *, Running> m_requests;
    int m_done = 0;
    bool m_running = false;
};
