#include "ChromiumProcess.h"
#include "LocalHttpServer.h"
#include "platform/browser/BridgeBrowser.h"
#include "platform/browser/BridgeExchange.h"
#include "platform/browser/BridgeExtension.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Chromium's start on a loaded machine; only a broken bridge waits this long.
constexpr int kWaitMs = 60000;
// What the program gives a detection.
constexpr int kDetectionMs = 500;

const ShellWindow *findByTitle(const std::vector<ShellWindow> &windows, const QString &title)
{
    const auto found = std::find_if(windows.begin(), windows.end(),
                                    [&title](const ShellWindow &window) { return window.documentTitle == title; });
    return found == windows.end() ? nullptr : &*found;
}

class BridgeChromiumTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Not a skip: the setup script installs Chromium, so its absence is a fault.
        ASSERT_FALSE(ChromiumProcess::executable().isEmpty())
            << "Chromium is not installed (scripts/setup.sh installs it; SITEPINS_CHROMIUM names another)";
    }

    void startChromium()
    {
        QString error;
        ASSERT_TRUE(m_chromium.start(m_pages.url(QStringLiteral("/a.html")), &error)) << error.toStdString();
    }

    // Polls the way the program would ask, each time within its deadline.
    std::vector<ShellWindow> waitForWindows(const std::function<bool(const std::vector<ShellWindow> &)> &wanted)
    {
        std::vector<ShellWindow> windows;
        const bool found = QTest::qWaitFor(
            [&] {
                windows = m_bridge->shellWindows(QDeadlineTimer(kDetectionMs));
                return wanted(windows);
            },
            kWaitMs);
        EXPECT_TRUE(found) << "Chromium's log ends:\n" << m_chromium.logTail().toStdString();
        return windows;
    }

    std::vector<ShellWindow> waitForBothPages()
    {
        return waitForWindows([](const auto &windows) {
            return findByTitle(windows, QStringLiteral("Page A")) && findByTitle(windows, QStringLiteral("Page B"));
        });
    }

    void expectBothPages(const std::vector<ShellWindow> &windows)
    {
        for (const auto &[title, name] : {std::pair{"Page A", "a.html"}, std::pair{"Page B", "b.html"}}) {
            const ShellWindow *page = findByTitle(windows, QLatin1String(title));
            ASSERT_TRUE(page) << title;
            EXPECT_EQ(page->locationUrl, m_pages.url(QLatin1Char('/') + QLatin1String(name)));
            EXPECT_EQ(page->locationName, QLatin1String(name));
            EXPECT_TRUE(page->isWebBrowser);
        }
    }

    // The first page opens the second itself: headless Chromium takes one
    // address on its command line.
    LocalHttpServer m_pages{{
        {QStringLiteral("/a.html"), {QStringLiteral("Page A"), QStringLiteral("<script>window.open('/b.html')</script>")}},
        {QStringLiteral("/b.html"), {QStringLiteral("Page B"), QStringLiteral("B")}},
        {QStringLiteral("/c.html"), {QStringLiteral("Page C"), QStringLiteral("C")}},
    }};
    QTemporaryDir m_folder;
    ChromiumProcess m_chromium{m_folder.path()};
    std::unique_ptr<BridgeBrowser> m_bridge;
};

// The program runs first and finds the browser once it has started; then
// opens a page and a blank window in it, and closes the web pages.
TEST_F(BridgeChromiumTest, findsABrowserStartedAfterTheProgramAndDrivesIt)
{
    m_bridge = std::make_unique<BridgeBrowser>(m_folder.path());
    EXPECT_TRUE(m_bridge->shellWindows(QDeadlineTimer(kDetectionMs)).empty());
    startChromium();
    expectBothPages(waitForBothPages());

    QString opened;
    ASSERT_TRUE(m_bridge->openWindow(m_pages.url(QStringLiteral("/c.html")), &opened));
    const auto withPageC = waitForWindows(
        [](const auto &windows) { return findByTitle(windows, QStringLiteral("Page C")) != nullptr; });
    ASSERT_TRUE(findByTitle(withPageC, QStringLiteral("Page C")));
    EXPECT_EQ(findByTitle(withPageC, QStringLiteral("Page C"))->id, opened);
    // A blank window keeps the browser open once its pages are closed.
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
    ASSERT_EQ(remaining.size(), 1u);
    EXPECT_TRUE(remaining.front().locationUrl.startsWith(QStringLiteral("chrome://")));
}

// The browser runs first, as at the program's start-up capture; Chromium
// also names the extension as we do, or its host would not have started.
TEST_F(BridgeChromiumTest, findsABrowserStartedBeforeTheProgram)
{
    startChromium();
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return !QDir(m_folder.path()).entryList({QStringLiteral("host-*.socket")}, QDir::System).isEmpty(); },
        kWaitMs))
        << m_chromium.logTail().toStdString();
    m_bridge = std::make_unique<BridgeBrowser>(m_folder.path());
    expectBothPages(waitForBothPages());

    const QString socket =
        QDir(m_folder.path()).entryInfoList({QStringLiteral("host-*.socket")}, QDir::System).value(0).filePath();
    const auto status = BridgeExchange::run({socket}, {{{QStringLiteral("cmd"), QStringLiteral("status")}}},
                                            QDeadlineTimer(kWaitMs));
    EXPECT_EQ(status.front().reply.value(QStringLiteral("extension")).toString(), BridgeExtension::chromiumId());
}

} // namespace
