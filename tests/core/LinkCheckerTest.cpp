#include "care/logic/LinkChecker.h"
#include "PageServer.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace {

// 127.0.0.1 and on: each a host of its own to the checker.
QStringList loopbackHosts(int count)
{
    QStringList hosts;
    for (int i = 1; i <= count; ++i)
        hosts << QStringLiteral("127.0.0.%1").arg(i);
    return hosts;
}

class LinkCheckerTest : public ::testing::Test
{
protected:
    // Runs to the end and gives each link's result by its id.
    std::map<QString, LinkCheckResult> check(const std::vector<LinkChecker::Link> &links, int withinMs = 20000)
    {
        std::map<QString, LinkCheckResult> results;
        QObject::connect(m_checker.get(), &LinkChecker::checked,
                         [&results](const LinkCheckResult &result) { results[result.id] = result; });
        QSignalSpy finished(m_checker.get(), &LinkChecker::finished);
        m_checker->start(links);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, withinMs));
        EXPECT_EQ(finished.value(0).value(0).toBool(), false);
        return results;
    }

    void makeChecker(const LinkChecker::Settings &settings = {})
    {
        m_checker = std::make_unique<LinkChecker>(settings);
    }

    std::unique_ptr<LinkChecker> m_checker;
};

struct Case
{
    const char *label;
    QString address;
    LinkOutcome outcome;
    int status;
    QString newAddress;
};

TEST_F(LinkCheckerTest, eachKindOfAnswerComesToItsOutcome)
{
    PageServer server;
    ASSERT_TRUE(server.isListening());
    server.setAnswer("/ok", {});
    server.setAnswer("/new", {});
    server.setAnswer("/moved", {.status = 301, .location = "/new"});
    // The cookie must not come back with the request that follows.
    server.setAnswer("/found", {.status = 302, .location = server.url("/new").toUtf8(), .setCookie = "session=42"});
    server.setAnswer("/chain", {.status = 301, .location = "/chain2"});
    server.setAnswer("/chain2", {.status = 308, .location = "/chain3"});
    server.setAnswer("/chain3", {.status = 302, .location = "/new"});
    server.setAnswer("/gone", {.status = 410});
    server.setAnswer("/broken", {.status = 500});
    server.setAnswer("/forbidden", {.status = 403});
    server.setAnswer("/loop", {.status = 301, .location = "/loop2"});
    server.setAnswer("/loop2", {.status = 301, .location = "/loop"});
    server.setAnswer("/silent", {.never = true});
    server.setAnswer("/nohead", {.refuseHead = true});
    server.setAnswer("/drophead", {.dropHead = true});

    const std::vector<Case> cases = {
        {"ok", server.url("/ok"), LinkOutcome::Ok, 200, {}},
        {"moved", server.url("/moved"), LinkOutcome::MovedPermanently, 200, server.url("/new")},
        {"found", server.url("/found"), LinkOutcome::MovedTemporarily, 200, {}},
        {"permanent_then_temporary", server.url("/chain"), LinkOutcome::MovedPermanently, 200, server.url("/chain3")},
        {"not_found", server.url("/missing"), LinkOutcome::NotFound, 404, {}},
        {"gone", server.url("/gone"), LinkOutcome::Gone, 410, {}},
        {"server_error", server.url("/broken"), LinkOutcome::ServerError, 500, {}},
        {"forbidden", server.url("/forbidden"), LinkOutcome::OtherError, 403, {}},
        {"timeout", server.url("/silent"), LinkOutcome::Timeout, 0, {}},
        {"redirect_loop", server.url("/loop"), LinkOutcome::TooManyRedirects, 301, {}},
        {"head_refused", server.url("/nohead"), LinkOutcome::Ok, 200, {}},
        {"head_dropped", server.url("/drophead"), LinkOutcome::Ok, 200, {}},
        {"refused", QStringLiteral("http://127.0.0.1:%1/").arg(PageServer::closedPort()), LinkOutcome::Refused, 0, {}},
        {"tls", QStringLiteral("https://127.0.0.1:%1/ok").arg(server.port()), LinkOutcome::TlsError, 0, {}},
        {"no_such_host", QStringLiteral("http://sitepins-link-check.invalid/"), LinkOutcome::NoSuchHost, 0, {}},
    };
    std::vector<LinkChecker::Link> links;
    for (const Case &c : cases)
        links.push_back({QString::fromLatin1(c.label), c.address});
    LinkChecker::Settings settings;
    settings.timeoutMs = 1500;
    makeChecker(settings);
    const std::map<QString, LinkCheckResult> results = check(links);

    ASSERT_EQ(results.size(), cases.size());
    EXPECT_EQ(m_checker->done(), int(cases.size()));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const LinkCheckResult &result = results.at(QString::fromLatin1(c.label));
        EXPECT_EQ(result.outcome, c.outcome)
            << result.outcomeText().toStdString() << " " << result.details().toStdString();
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.newAddress, c.newAddress);
        EXPECT_EQ(result.address, c.address);
    }
    EXPECT_EQ(results.at("moved").outcomeText(), "Moved permanently \u2192 " + server.url("/new"));
    EXPECT_EQ(results.at("permanent_then_temporary").details(), "301 \u2192 308 \u2192 302 \u2192 200");
    EXPECT_EQ(results.at("timeout").details(), "No answer within 1.5 s");
    // Five redirects are followed; the sixth is one too many.
    EXPECT_EQ(server.requestCount("/loop") + server.requestCount("/loop2"), 6);
    QList<QByteArray> noHead;
    for (const PageServer::Request &request : server.requests()) {
        EXPECT_FALSE(request.headers.contains("cookie")) << request.target.toStdString();
        EXPECT_EQ(request.headers.value("user-agent"), LinkChecker::defaultUserAgent());
        if (request.target == "/nohead")
            noHead << request.method + ' ' + request.headers.value("range");
    }
    EXPECT_EQ(noHead, QList<QByteArray>({"HEAD ", "GET bytes=0-1023"}));
    EXPECT_TRUE(LinkChecker::defaultUserAgent().startsWith("SitePinsManager/1."));
}

// Six hosts with five slow pages each: eight requests at once and two per
// host, as the server counts them.
TEST_F(LinkCheckerTest, neverAsksMoreThanEightAtOnceNorMoreThanTwoOfOneHost)
{
    const QStringList hosts = loopbackHosts(6);
    PageServer server(hosts);
    ASSERT_TRUE(server.isListening());
    server.setAnswer("/slow", {.delayMs = 300});
    std::vector<LinkChecker::Link> links;
    for (int page = 0; page < 5; ++page) {
        for (int host = 0; host < hosts.size(); ++host)
            links.push_back({QStringLiteral("%1-%2").arg(host).arg(page), server.url("/slow", host)});
    }
    makeChecker();
    const std::map<QString, LinkCheckResult> results = check(links);

    ASSERT_EQ(results.size(), links.size());
    for (const auto &[id, result] : results)
        EXPECT_EQ(result.outcome, LinkOutcome::Ok) << id.toStdString();
    EXPECT_EQ(server.maxInFlight(), 8);
    for (const QString &host : hosts)
        EXPECT_EQ(server.maxInFlightAt(host), 2) << host.toStdString();
}

TEST_F(LinkCheckerTest, cancelDropsTheRunningRequestsAndStartsNoOther)
{
    PageServer server(loopbackHosts(5));
    ASSERT_TRUE(server.isListening());
    server.setAnswer("/slow", {.delayMs = 5000});
    std::vector<LinkChecker::Link> links;
    for (int i = 0; i < 30; ++i)
        links.push_back({QString::number(i), server.url("/slow", i % 5)});
    makeChecker();
    int checked = 0;
    QObject::connect(m_checker.get(), &LinkChecker::checked, [&checked] { ++checked; });
    QSignalSpy finished(m_checker.get(), &LinkChecker::finished);
    m_checker->start(links);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.inFlight() == 8; }, 5000));

    m_checker->cancel();
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished.front().front().toBool());
    EXPECT_FALSE(m_checker->isRunning());
    // The server sees the eight connections go, and nothing more comes.
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.inFlight() == 0; }, 3000));
    QTest::qWait(300);
    EXPECT_EQ(server.requests().size(), 8);
    EXPECT_EQ(checked, 0);
    EXPECT_EQ(m_checker->done(), 0);
    EXPECT_EQ(finished.size(), 1);
}

} // namespace
