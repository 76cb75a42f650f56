#include "RealBrowserFixture.h"

#include "platform/browser/BridgeExchange.h"

#include <QDir>
#include <QTest>

namespace {

QStringList hostSockets(const QString &folder)
{
    return QDir(folder).entryList({"host-*.socket"}, QDir::System);
}

} // namespace

RealBrowserFixture::RealBrowserFixture(HeadlessBrowser::Kind kind)
    : m_kind(kind)
    , m_browser(kind, m_folder.path())
{
    m_pages.setLinkedPages();
}

void RealBrowserFixture::SetUp()
{
    // Not a skip: the setup script installs both browsers, so a missing one is a fault.
    ASSERT_FALSE(HeadlessBrowser::executable(m_kind).isEmpty())
        << "The browser is not installed (scripts/setup.sh installs chromium and firefox-esr; "
           "SITEPINS_CHROMIUM and SITEPINS_FIREFOX name others)";
}

const ShellWindow *RealBrowserFixture::findByTitle(const std::vector<ShellWindow> &windows, const QString &title)
{
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&title](const ShellWindow &window) { return window.documentTitle == title; });
    return found == windows.end() ? nullptr : &*found;
}

void RealBrowserFixture::createBridge()
{
    m_bridge = std::make_unique<BridgeBrowser>(m_folder.path());
    // A browser sharing a loaded machine with the build can take seconds
    // to make a window; the bridge's own deadlines are tested on the fake.
    m_bridge->setCommandTimeout(kWaitMs);
}

void RealBrowserFixture::startBrowser()
{
    QString error;
    ASSERT_TRUE(m_browser.start(m_pages.url("/a.html"), &error)) << error.toStdString();
}

bool RealBrowserFixture::waitForHostSocket()
{
    const bool found = QTest::qWaitFor([this] { return !hostSockets(m_folder.path()).isEmpty(); }, kWaitMs);
    EXPECT_TRUE(found) << "The browser's log ends:\n" << m_browser.logTail().toStdString();
    return found;
}

std::vector<ShellWindow>
RealBrowserFixture::waitForWindows(const std::function<bool(const std::vector<ShellWindow> &)> &wanted)
{
    std::vector<ShellWindow> windows;
    const bool found = QTest::qWaitFor(
        [&] {
            windows = m_bridge->shellWindows(QDeadlineTimer(kDetectionMs));
            return wanted(windows);
        },
        kWaitMs);
    EXPECT_TRUE(found) << "The browser's log ends:\n" << m_browser.logTail().toStdString();
    return windows;
}

void RealBrowserFixture::expectPagesAAndB()
{
    const auto windows = waitForWindows(
        [](const auto &listed) { return findByTitle(listed, "Page A") && findByTitle(listed, "Page B"); });
    for (const auto &[title, name] : {std::pair{"Page A", "a.html"}, std::pair{"Page B", "b.html"}}) {
        const ShellWindow *page = findByTitle(windows, QLatin1String(title));
        ASSERT_TRUE(page) << title;
        EXPECT_EQ(page->locationUrl, m_pages.url(QLatin1Char('/') + QLatin1String(name)));
        EXPECT_EQ(page->locationName, QLatin1String(name));
        EXPECT_TRUE(page->isWebBrowser);
    }
}

QString RealBrowserFixture::reportedExtensionId()
{
    const QString socket = QDir(m_folder.path()).filePath(hostSockets(m_folder.path()).value(0));
    const auto status = BridgeExchange::run({socket}, {{{"cmd", "status"}}}, QDeadlineTimer(kWaitMs));
    return status.front().reply.value("extension").toString();
}

void RealBrowserFixture::openAndClosePages()
{
    QString opened;
    ASSERT_TRUE(m_bridge->openWindow(m_pages.url("/c.html"), &opened));
    const auto withPageC =
        waitForWindows([](const auto &windows) { return findByTitle(windows, "Page C") != nullptr; });
    ASSERT_TRUE(findByTitle(withPageC, "Page C"));
    EXPECT_EQ(findByTitle(withPageC, "Page C")->id, opened);
    // A blank window keeps the browser running once its pages are closed.
    ASSERT_TRUE(m_bridge->openBlankWindow());

    for (const ShellWindow &window : withPageC) {
        if (window.isWebBrowser) {
            EXPECT_TRUE(m_bridge->quit(window)) << window.locationUrl.toStdString();
        }
    }
    const auto remaining = waitForWindows([](const auto &windows) {
        return !windows.empty() &&
               std::none_of(windows.begin(), windows.end(), [](const ShellWindow &w) { return w.isWebBrowser; });
    });
    EXPECT_EQ(remaining.size(), 1u);
}
