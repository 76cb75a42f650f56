#include "platform/browser/DevToolsBrowser.h"
#include "HeadlessBrowser.h"
#include "PageServer.h"
#include "QtPrinters.h"
#include "platform/RegistryFunctions.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>

// Readable failure messages; found by argument-dependent lookup.
static void PrintTo(const ShellWindow &window, std::ostream *out)
{
    *out << "{" << window.id.toStdString() << " | " << window.locationUrl.toStdString() << " | "
         << window.locationName.toStdString() << " | " << window.documentTitle.toStdString() << " | "
         << (window.isWebBrowser ? "web" : "not web") << "}";
}
static void PrintTo(const PageServer::Request &request, std::ostream *out)
{
    *out << request.method.toStdString() << ' ' << request.target.toStdString();
}

namespace {

// Generous: only a broken browser or endpoint ever waits this long.
constexpr int kWaitMs = 30000;
const QString kList = "/json/list";
const QString kNew = "/json/new";
const QByteArray kJson = "application/json; charset=UTF-8";

struct Target
{
    const char *id;
    const char *type;
    const char *title;
    const char *url;
};

QByteArray targetList(std::initializer_list<Target> targets)
{
    QJsonArray list;
    for (const Target &target : targets)
        list.append(QJsonObject{{"id", target.id},
                                {"type", target.type},
                                {"title", QString::fromUtf8(target.title)},
                                {"url", target.url},
                                {"webSocketDebuggerUrl", "ws://127.0.0.1/devtools/page/x"}});
    return QJsonDocument(list).toJson();
}

ShellWindow window(quint16 port, const QString &id, const QString &url, const QString &name, const QString &title,
                   bool isWeb)
{
    return ShellWindow{QString::number(port) + u':' + id, url, name, title, isWeb};
}

const QByteArray kOnePage = targetList({{"P1", "page", "One", "http://127.0.0.1:1/one.html"}});
ShellWindow onePageOf(quint16 port)
{
    return window(port, "P1", "http://127.0.0.1:1/one.html", "one.html", "One", true);
}

QByteArray head(const QByteArray &headers)
{
    return "HTTP/1.1 200 OK\r\n" + headers + "\r\n";
}

// Tabs of a browser faked by a page server answering the debugging endpoints.
class DevToolsFake : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.isListening()); }
    DevToolsBrowser browser() const { return DevToolsBrowser({m_server.port()}); }

    PageServer m_server;
};

TEST_F(DevToolsFake, listsPageTargetsInTheirOrderWithTitlesUnescaped)
{
    m_server.setPage(kList,
                     targetList({
                         {"A1", "page", "Fish &amp; Chips &lt;b&gt; &quot;x&quot; &#39;y&#39;",
                          "http://127.0.0.1:8000/menu/fish.html"},
                         {"W1", "service_worker", "Worker", "http://127.0.0.1:8000/sw.js"},
                         {"B2", "page", "&amp;lt; once &#233;&#x263A;&#X41; &#0; &#xD800; &bogus; &amp & Größe",
                          "https://pins.test/"},
                         {"U1", "browser_ui", "Omnibox Popup", "chrome://omnibox-popup.top-chrome/"},
                         {"F1", "iframe", "Frame", "http://127.0.0.1:8000/frame.html"},
                         {"", "page", "No id", "http://127.0.0.1:8000/"},
                         {"C3", "page", "Settings", "chrome://settings/"},
                         {"D4", "page", "", "file:///tmp/notes.html"},
                     }),
                     kJson);
    const quint16 port = m_server.port();
    const std::vector<ShellWindow> expected{
        window(port, "A1", "http://127.0.0.1:8000/menu/fish.html", "fish.html", "Fish & Chips <b> \"x\" 'y'", true),
        window(port, "B2", "https://pins.test/", "pins.test",
               QString::fromUtf8("&lt; once \u00e9\u263aA &#0; &#xD800; &bogus; &amp & Größe"), true),
        window(port, "C3", "chrome://settings/", "settings", "Settings", false),
        window(port, "D4", "file:///tmp/notes.html", "notes.html", "", true)};

    EXPECT_EQ(browser().shellWindows(QDeadlineTimer(kWaitMs)), expected);
    EXPECT_EQ(m_server.requests(), QList<PageServer::Request>({{"GET", "/json/list"}}));
}

TEST_F(DevToolsFake, portsComeFromTheSettingInItsOrder)
{
    const QString key = QString::fromLatin1(DevToolsBrowser::kKeyPath);
    const QString name = QString::fromLatin1(DevToolsBrowser::kValueName);
    RegistryKey settings;
    ASSERT_EQ(RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_CURRENT_USER, key, settings), ERROR_SUCCESS);
    const auto setSetting = [&](const QString &text) {
        RegistryFunctions::setRegistryValue(settings, name, REG_SZ, text);
    };

    EXPECT_TRUE(DevToolsBrowser().ports().isEmpty());
    const std::pair<const char *, QList<quint16>> cases[] = {
        {"", {}},
        {"9222", {9222}},
        {"9222,9223", {9222, 9223}},
        {" 9223 ,\t9222 ,", {9223, 9222}},
        {"9222 9223  9224", {9222, 9223, 9224}},
        {"x, 0, 65536, -1, 12.5, 9222, 9222, 65535", {9222, 65535}}};
    for (const auto &[text, ports] : cases) {
        setSetting(QString::fromLatin1(text));
        EXPECT_EQ(DevToolsBrowser().ports(), ports) << text;
    }

    // Read at each call, in the setting's order.
    PageServer second;
    second.setPage(kList, targetList({{"S1", "page", "Second", "http://127.0.0.1:1/two.html"}}), kJson);
    m_server.setPage(kList, kOnePage, kJson);
    DevToolsBrowser fromSetting;
    setSetting(QStringLiteral("%1, %2").arg(second.port()).arg(m_server.port()));
    const std::vector<ShellWindow> windows = fromSetting.shellWindows(QDeadlineTimer(kWaitMs));
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows.at(0).id, QString::number(second.port()) + ":S1");
    EXPECT_EQ(windows.at(1), onePageOf(m_server.port()));

    RegistryFunctions::deleteRegistryValue(settings, name);
    RegistryFunctions::closeRegistryKey(settings);
    EXPECT_TRUE(fromSetting.shellWindows(QDeadlineTimer(kWaitMs)).empty());
}

// The address must reach the browser whole: unencoded, its own '?', '&' and
// '#' would end the request's query.
TEST_F(DevToolsFake, opensWithPutAndTheWholeAddressPercentEncoded)
{
    m_server.setPage(kNew, R"({"id": "NEW1", "type": "page", "url": "about:blank"})", kJson);
    const std::pair<QString, QByteArray> cases[] = {
        {"http://127.0.0.1:8000/a b.html?x=1&y=2#top",
         "/json/new?http%3A%2F%2F127.0.0.1%3A8000%2Fa%20b.html%3Fx%3D1%26y%3D2%23top"},
        {QString::fromUtf8("https://pins.test/straße?q=ä"),
         "/json/new?https%3A%2F%2Fpins.test%2Fstra%C3%9Fe%3Fq%3D%C3%A4"},
        {"file:///tmp/100%25 sure.html", "/json/new?file%3A%2F%2F%2Ftmp%2F100%2525%20sure.html"},
        {QString(), "/json/new?about:blank"}};
    DevToolsBrowser devTools = browser();
    for (const auto &[address, target] : cases) {
        SCOPED_TRACE(address.toStdString());
        m_server.clearRequests();
        QString id;
        EXPECT_TRUE(address.isEmpty() ? devTools.openBlankWindow(&id) : devTools.openWindow(address, &id));
        EXPECT_EQ(id, QString::number(m_server.port()) + ":NEW1");
        EXPECT_EQ(m_server.requests(), QList<PageServer::Request>({{"PUT", target}}));
    }
}

TEST_F(DevToolsFake, opensOnTheFirstPortThatTakesThePage)
{
    PageServer refusing; // answers 404 to everything
    PageServer noId;
    noId.setPage(kNew, R"({"type": "page"})", kJson);
    m_server.setPage(kNew, R"({"id": "NEW1"})", kJson);
    DevToolsBrowser devTools({PageServer::closedPort(), refusing.port(), noId.port(), m_server.port()});
    QString id;
    EXPECT_TRUE(devTools.openWindow("http://127.0.0.1:8000/", &id));
    EXPECT_EQ(id, QString::number(m_server.port()) + ":NEW1");
    EXPECT_EQ(refusing.requestCount(kNew), 1);

    EXPECT_FALSE(DevToolsBrowser({PageServer::closedPort(), refusing.port()}).openBlankWindow(&id));
    EXPECT_FALSE(DevToolsBrowser(QList<quint16>{}).openWindow("http://127.0.0.1:8000/"));
}

TEST_F(DevToolsFake, closesOnlyTabsOfItsOwnPorts)
{
    m_server.setPage("/json/close/A1", "Target is closing", kJson);
    m_server.setPage("/json/close/A%2F1%3Fx", "Target is closing", kJson);
    const QString port = QString::number(m_server.port());
    const std::pair<QString, bool> cases[] = {
        {port + ":A1", true},
        {port + ":A/1?x", true},
        {port + ":gone", false}, // 404
        {port + ":", false},
        {"A1", false},
        {QString::number(PageServer::closedPort()) + ":A1", false}, // not one of its ports
        {"x:A1", false}};
    DevToolsBrowser devTools = browser();
    for (const auto &[id, closed] : cases) {
        ShellWindow tab;
        tab.id = id;
        EXPECT_EQ(devTools.quit(tab), closed) << id.toStdString();
    }
    EXPECT_EQ(m_server.requests(),
              QList<PageServer::Request>(
                  {{"GET", "/json/close/A1"}, {"GET", "/json/close/A%2F1%3Fx"}, {"GET", "/json/close/gone"}}));
}

// Framings a server may choose, each carrying the same list.
TEST_F(DevToolsFake, readsEveryFramingOfTheBody)
{
    const QByteArray json = kOnePage;
    const QByteArray half = json.left(json.size() / 2), rest = json.mid(json.size() / 2);
    const QByteArray hex = QByteArray::number(half.size(), 16), restHex = QByteArray::number(rest.size(), 16);
    const QByteArray responses[] = {
        head("Content-Length:" + QByteArray::number(json.size()) + "\r\n") + json,
        head("Transfer-Encoding: chunked\r\n") + hex + "\r\n" + half + "\r\n" + restHex.toUpper() + ";x=y\r\n" + rest +
            "\r\n0\r\nTrailer: 1\r\n\r\n",
        head("Connection: close\r\n") + json,
        "HTTP/1.1 100 Continue\r\n\r\n" + head("Content-Length: " + QByteArray::number(json.size()) + "\n") + json,
    };
    for (const QByteArray &response : responses) {
        SCOPED_TRACE(response.left(80).toStdString());
        m_server.setAnswer(kList, {.raw = response});
        EXPECT_EQ(browser().shellWindows(QDeadlineTimer(kWaitMs)), std::vector{onePageOf(m_server.port())});
    }
}

// Each gives no tabs, and a good port after it is still read.
TEST_F(DevToolsFake, garbageGivesNoTabs)
{
    const QByteArray json = kOnePage;
    const QByteArray length = "Content-Length: " + QByteArray::number(json.size()) + "\r\n";
    const QByteArray responses[] = {
        "",
        "garbage\r\n\r\n" + json,
        "HTTP/1.1 2OO OK\r\n\r\n" + json,
        "HTTP/1.1 500 Internal Server Error\r\n" + length + "\r\n" + json,
        head(length + "X-No-Colon\r\n") + json,
        head("Content-Length: 12\r\n") + "not json at all",
        head("Content-Length: 11\r\n") + R"({"id":"P1"})",
        head("Content-Length: 32\r\n") + R"([1, "a", null, {"type":"page"}])",
        head("Content-Length: 1000\r\n") + json,
        head("Content-Length: 99999999999\r\n") + json,
        head("Content-Length: -5\r\n") + json,
        head(length + "Content-Length: 3\r\n") + json,
        head("Transfer-Encoding: gzip\r\n") + json,
        head("Transfer-Encoding: chunked\r\n") + "zz\r\n" + json,
        head("Transfer-Encoding: chunked\r\n") + "FFFF\r\n" + json,
        head("Transfer-Encoding: chunked\r\n") + "400001\r\n" + json,
        head("Transfer-Encoding: chunked\r\n") + "3\r\nabcX\r\n0\r\n\r\n",
        head("") + QByteArray(5 * 1024 * 1024, '['),
        "HTTP/1.1 200 OK\r\n" + QByteArray(70 * 1024, 'h'),
    };
    PageServer good;
    good.setPage(kList, json, kJson);
    DevToolsBrowser devTools({m_server.port(), good.port()});
    for (const QByteArray &response : responses) {
        SCOPED_TRACE(response.left(60).toStdString());
        m_server.setAnswer(kList, {.raw = response});
        EXPECT_EQ(devTools.shellWindows(QDeadlineTimer(kWaitMs)), std::vector{onePageOf(good.port())});
    }
}

// A browser that accepts and never answers costs the caller its deadline and
// no more; one that is gone costs nothing.
TEST(DevToolsBrowser, aSilentOrAbsentPortGivesUp)
{
    QTcpServer silent; // never takes its connections out of the queue
    ASSERT_TRUE(silent.listen(QHostAddress(QHostAddress::LocalHost)));
    for (const quint16 port : {silent.serverPort(), PageServer::closedPort()}) {
        SCOPED_TRACE(port);
        DevToolsBrowser devTools({port});
        QElapsedTimer elapsed;
        elapsed.start();
        EXPECT_TRUE(devTools.shellWindows(QDeadlineTimer(300)).empty());
        EXPECT_FALSE(devTools.openWindow("http://127.0.0.1:8000/"));
        ShellWindow tab;
        tab.id = QString::number(port) + ":A1";
        EXPECT_FALSE(devTools.quit(tab));
        EXPECT_LT(elapsed.elapsed(), kWaitMs);
    }
}

std::optional<ShellWindow> tabAt(DevToolsBrowser &browser, const QString &url)
{
    for (const ShellWindow &window : browser.shellWindows(QDeadlineTimer(kWaitMs))) {
        if (window.locationUrl == url)
            return window;
    }
    return std::nullopt;
}

// Polls until the condition holds; false when it never did in time.
template<typename Condition>
bool eventually(Condition condition)
{
    const QDeadlineTimer deadline(kWaitMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

TEST(DevToolsBrowser, listsOpensAndClosesTabsOfHeadlessChromium)
{
    PageServer pages;
    pages.setPage("/first.html", "<html><head><title>Fish &amp; Chips &lt;today&gt; \"Gr\xc3\xb6\xc3\x9f"
                                 "e\"</title></head></html>");
    pages.setPage("/second.html", "<html><head><title>Second</title></head></html>");
    HeadlessBrowser chromium;
    QString error;
    ASSERT_TRUE(chromium.startWithDebugging({pages.url("/first.html")}, kWaitMs, &error)) << error.toStdString();
    DevToolsBrowser devTools({chromium.devToolsPort()});

    const QString first = pages.url("/first.html");
    const QString firstTitle = QString::fromUtf8("Fish & Chips <today> \"Größe\"");
    // Listed at once, under its address until the title has been read.
    ASSERT_TRUE(eventually([&] { return tabAt(devTools, first).value_or(ShellWindow()).documentTitle == firstTitle; }));
    const ShellWindow firstTab = tabAt(devTools, first).value_or(ShellWindow());
    EXPECT_EQ(firstTab,
              window(chromium.devToolsPort(), firstTab.id.section(u':', 1), first, "first.html", firstTitle, true));

    // Spaces, '&' and '#' of the address reach the page server as the browser sends them.
    const QString second = pages.url("/second.html?dish=fish & chips#menu");
    QString id;
    ASSERT_TRUE(devTools.openWindow(second, &id));
    const QString secondListed = pages.url("/second.html?dish=fish%20&%20chips#menu");
    ASSERT_TRUE(
        eventually([&] { return tabAt(devTools, secondListed).value_or(ShellWindow()).documentTitle == "Second"; }));
    const ShellWindow secondTab = tabAt(devTools, secondListed).value_or(ShellWindow());
    EXPECT_EQ(secondTab.id, id);
    EXPECT_TRUE(pages.requests().contains(PageServer::Request{"GET", "/second.html?dish=fish%20&%20chips"}));

    EXPECT_TRUE(devTools.quit(secondTab));
    EXPECT_TRUE(eventually([&] { return !tabAt(devTools, secondListed); }));
    EXPECT_TRUE(tabAt(devTools, first));

    ASSERT_TRUE(devTools.openBlankWindow(&id));
    EXPECT_TRUE(eventually([&] {
        const auto blank = tabAt(devTools, "about:blank");
        return blank && blank->id == id && !blank->isWebBrowser;
    }));
}

} // namespace
