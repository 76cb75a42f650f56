#include "platform/browser/BridgeBrowser.h"
#include "FakeBrowserProcess.h"
#include "platform/browser/BridgeFolder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Readable failure messages; found by argument-dependent lookup.
static void PrintTo(const ShellWindow &window, std::ostream *out)
{
    *out << "{" << window.id.toStdString() << " " << window.locationUrl.toStdString() << " \""
         << window.locationName.toStdString() << "\" \"" << window.documentTitle.toStdString() << "\" "
         << (window.isWebBrowser ? "web" : "not web") << "}";
}

namespace {

QJsonObject tab(qint64 id, const QString &url, const QString &title, bool active = false)
{
    return {{"id", id}, {"url", url}, {"title", title}, {"active", active}};
}

QJsonObject window(qint64 id, const QJsonArray &tabs)
{
    return {{"id", id}, {"tabs", tabs}};
}

const QJsonArray kOneWindow{window(1, {tab(5, "http://127.0.0.1/one", "One", true)})};

// A socket file whose listener is gone, as a host killed outright leaves it.
bool leaveDeadSocket(const QString &path, bool listening, int *keptOpen = nullptr)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound =
        ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && (!listening || ::listen(fd, 4) == 0);
    if (listening && keptOpen)
        *keptOpen = fd;
    else
        ::close(fd);
    return bound;
}

class BridgeBrowserTest : public ::testing::Test
{
protected:
    FakeBrowserProcess &startBrowser(const QJsonArray &windows, const QStringList &options = {})
    {
        m_browsers.push_back(std::make_unique<FakeBrowserProcess>(m_folder.path(), windows, options));
        QString error;
        EXPECT_TRUE(m_browsers.back()->start(&error)) << error.toStdString();
        return *m_browsers.back();
    }

    // Their hosts see the pipe close and go, taking their sockets with them.
    void stopBrowsers()
    {
        m_browsers.clear();
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return QDir(m_folder.path()).entryList({"host-*"}, QDir::System).isEmpty(); }, 30000));
    }

    std::vector<ShellWindow> list() { return m_bridge.shellWindows(QDeadlineTimer(5000)); }

    QTemporaryDir m_folder;
    BridgeBrowser m_bridge{m_folder.path()};
    std::vector<std::unique_ptr<FakeBrowserProcess>> m_browsers;
};

// Browsers in the order they started, windows in each browser's order, tabs
// in tab order but the active tab of each window first.
TEST_F(BridgeBrowserTest, listsEveryTabWithEachWindowsActiveTabFirst)
{
    const qint64 first = startBrowser({window(1, {tab(11, "http://127.0.0.1/a", "A"),
                                                  tab(12, "https://example.test/dir/b.html", "B", true),
                                                  tab(13, "chrome://newtab/", "New Tab")}),
                                       window(2, {tab(21, "file:///home/u/notes.html", QString(), true)})})
                             .hostPid();
    const qint64 second = startBrowser({window(3, {tab(31, "about:blank", QString()),
                                                   tab(32, "chrome-extension://abc/page.html", "Ext", true),
                                                   tab(33, "http://127.0.0.1:9/x?y", "X")})})
                              .hostPid();
    const auto id = [](qint64 pid, int tabId) {
        return QStringLiteral("%1:%2").arg(pid).arg(tabId);
    };
    const std::vector<ShellWindow> expected{
        {id(first, 12), "https://example.test/dir/b.html", "b.html", "B", true},
        {id(first, 11), "http://127.0.0.1/a", "a", "A", true},
        {id(first, 13), "chrome://newtab/", "newtab", "New Tab", false},
        {id(first, 21), "file:///home/u/notes.html", "notes.html", QString(), true},
        {id(second, 32), "chrome-extension://abc/page.html", "page.html", "Ext", false},
        {id(second, 31), "about:blank", "blank", QString(), false},
        {id(second, 33), "http://127.0.0.1:9/x?y", "x", "X", true},
    };
    EXPECT_EQ(list(), expected);
}

// A hung browser, a host that accepts but never answers and a host that died
// cost no more than the deadline; the live browser is still listed, and only
// the dead host's socket is cleared away.
TEST_F(BridgeBrowserTest, answersByTheDeadlineWhateverTheOtherHostsDo)
{
    startBrowser(kOneWindow, {"--mute"});
    const QDir folder(m_folder.path());
    int silentFd = -1;
    ASSERT_TRUE(leaveDeadSocket(folder.filePath("host-999997.socket"), true, &silentFd));
    ASSERT_TRUE(leaveDeadSocket(folder.filePath("host-999999.socket"), false));
    ASSERT_TRUE(leaveDeadSocket(folder.filePath("other.socket"), false));
    const qint64 live = startBrowser(kOneWindow).hostPid();

    QElapsedTimer elapsed;
    elapsed.start();
    const std::vector<ShellWindow> windows = m_bridge.shellWindows(QDeadlineTimer(1000));
    // Generous: only a query that ignores its deadline takes this long.
    EXPECT_LT(elapsed.elapsed(), 5000);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows.front().id, QStringLiteral("%1:5").arg(live));
    EXPECT_FALSE(folder.exists("host-999999.socket"));
    EXPECT_TRUE(folder.exists("host-999997.socket"));
    EXPECT_TRUE(folder.exists("other.socket"));
    ::close(silentFd);
}

TEST_F(BridgeBrowserTest, opensInTheMostRecentlyFocusedBrowserAndClosesThere)
{
    EXPECT_FALSE(m_bridge.openWindow("http://127.0.0.1/none"));
    EXPECT_FALSE(m_bridge.openBlankWindow());

    startBrowser(kOneWindow, {"--focused-at", "1000"});
    const qint64 focused = startBrowser(kOneWindow, {"--focused-at", "2000"}).hostPid();
    QString opened;
    ASSERT_TRUE(m_bridge.openWindow("http://127.0.0.1/new", &opened));
    QString blank;
    ASSERT_TRUE(m_bridge.openBlankWindow(&blank));
    EXPECT_TRUE(opened.startsWith(QString::number(focused) + QLatin1Char(':'))) << opened.toStdString();

    std::vector<ShellWindow> windows = list();
    const auto find = [&windows](const QString &id) {
        return std::find_if(windows.begin(), windows.end(), [&id](const ShellWindow &w) { return w.id == id; });
    };
    ASSERT_NE(find(opened), windows.end());
    EXPECT_EQ(find(opened)->locationUrl, "http://127.0.0.1/new");
    ASSERT_NE(find(blank), windows.end());
    EXPECT_FALSE(find(blank)->isWebBrowser);

    EXPECT_TRUE(m_bridge.quit(*find(opened)));
    const ShellWindow closed = *find(opened);
    windows = list();
    EXPECT_EQ(find(opened), windows.end());
    EXPECT_EQ(windows.size(), 3u);
    for (const QString &gone : QStringList{closed.id, "1:", "x:5", "999999:5"}) {
        ShellWindow window = closed;
        window.id = gone;
        EXPECT_FALSE(m_bridge.quit(window)) << gone.toStdString();
    }
}

// A browser that refuses lets the next one try; one that does not answer in
// time may still open the window, so no second browser opens another.
TEST_F(BridgeBrowserTest, opensElsewhereOnlyAfterAClearRefusal)
{
    const struct
    {
        const char *option;
        bool opened;
    } cases[] = {{"--refuse-open", true}, {"--mute", false}};
    for (const auto &row : cases) {
        SCOPED_TRACE(row.option);
        stopBrowsers();
        const qint64 fallback = startBrowser(kOneWindow, {"--focused-at", "1000"}).hostPid();
        startBrowser(kOneWindow, {QString::fromLatin1(row.option), "--focused-at", "2000"});
        m_bridge.setCommandTimeout(1000);
        QString opened;
        EXPECT_EQ(m_bridge.openWindow("file:///tmp/page.html", &opened), row.opened);
        EXPECT_EQ(opened.startsWith(QString::number(fallback) + QLatin1Char(':')), row.opened);
    }
}

} // namespace
