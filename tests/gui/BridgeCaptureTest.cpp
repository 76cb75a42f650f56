// The capture and browser commands of the real main window, against a real
// headless Chromium connected through the bridge extension and its host.
#include "HeadlessBrowser.h"
#include "MainWindowFixture.h"
#include "PageServer.h"
#include "ModalDialog.h"
#include "browser/frmSitePinDialog.h"
#include "platform/browser/BridgeBrowser.h"
#include "platform/browser/BrowserConnections.h"

#include <QDialog>

namespace {

constexpr int kWaitMs = 60000;

class BridgeCaptureTest : public MainWindowFixture
{
protected:
    BridgeCaptureTest()
        : m_browser(HeadlessBrowser::Kind::Chromium, m_bridgeFolder.path())
    {
        m_pages.setLinkedPages();
        auto bridge = std::make_unique<BridgeBrowser>(m_bridgeFolder.path());
        // A browser sharing a loaded machine with a build can take seconds
        // to make a window; the deadlines themselves are tested elsewhere.
        bridge->setCommandTimeout(kWaitMs);
        m_bridge = bridge.get();
        m_connections.add(std::move(bridge));
    }

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_FALSE(HeadlessBrowser::executable(HeadlessBrowser::Kind::Chromium).isEmpty())
            << "Chromium is not installed (scripts/setup.sh installs it)";
        m_environment.browsers = &m_connections;
        m_environment.browserDetectionMs = 5000;
        writeLibraryBody(
            LibraryText::folder(1, "Work", LibraryText::sitePin(1, "Page C link", m_pages.url("/c.html"))));
    }

    void startBrowser()
    {
        QString error;
        ASSERT_TRUE(m_browser.start(m_pages.url("/a.html"), &error)) << error.toStdString();
    }

    std::vector<ShellWindow> waitForWindows(const std::function<bool(const std::vector<ShellWindow> &)> &wanted)
    {
        std::vector<ShellWindow> windows;
        const bool found = QTest::qWaitFor(
            [&] {
                windows = m_bridge->shellWindows(QDeadlineTimer(2000));
                return wanted(windows);
            },
            kWaitMs);
        EXPECT_TRUE(found) << "The browser's log ends:\n" << m_browser.logTail().toStdString();
        return windows;
    }
    static QStringList webTitles(const std::vector<ShellWindow> &windows)
    {
        QStringList titles;
        for (const ShellWindow &window : windows) {
            if (window.isWebBrowser)
                titles << window.documentTitle;
        }
        titles.sort();
        return titles;
    }
    void waitForWebPages(const QStringList &titles)
    {
        waitForWindows([&](const auto &windows) { return webTitles(windows) == titles; });
    }

    static QStringList offered(QDialog &dialog)
    {
        auto *capture = qobject_cast<frmSitePinDialog *>(&dialog);
        EXPECT_TRUE(capture);
        QStringList names;
        for (int i = 0; capture && i < capture->tvwDetected->topLevelItemCount(); ++i)
            names << capture->tvwDetected->topLevelItem(i)->text(0);
        return names;
    }

    PageServer m_pages;
    QTemporaryDir m_bridgeFolder;
    HeadlessBrowser m_browser;
    BridgeBrowser *m_bridge = nullptr;
    BrowserConnections m_connections;
};

// The program runs first; the browser comes later and is found by Get
// SitePin, its second page picked and filed; then the program opens a
// SitePin in it and closes every web page.
TEST_F(BridgeCaptureTest, getSitePinFromABrowserStartedLaterThenOpenAndCloseAll)
{
    start();
    startBrowser();
    waitForWebPages({"Page A", "Page B"});

    QStringList names;
    EXPECT_TRUE(withModalDialog([this] { runMenu("mnuToolsGet"); },
                                [&](QDialog &dialog) {
                                    names = offered(dialog);
                                    auto &capture = static_cast<frmSitePinDialog &>(dialog);
                                    const int pageB = int(names.indexOf("Page B"));
                                    ASSERT_GE(pageB, 0);
                                    capture.tvwDetected->setCurrentItem(capture.tvwDetected->topLevelItem(pageB));
                                    QTest::mouseClick(capture.cmdOK, Qt::LeftButton);
                                }));
    names.sort();
    EXPECT_EQ(names, QStringList({"Page A", "Page B"}));
    EXPECT_EQ(ui().txtMode->text(), "add");
    EXPECT_EQ(ui().txtWName->text(), "Page B");
    EXPECT_EQ(ui().txtAddress->text(), m_pages.url("/b.html"));
    clickFolder("Work");
    clickToolbarButton(20);
    const XmlNode saved = reopenLibrary()->getTheDOM().nodeFromID("W2");
    EXPECT_EQ(saved.selectSingleNode("NAME").text(), "Page B");
    EXPECT_EQ(saved.selectSingleNode("ADDRESS").text(), m_pages.url("/b.html"));

    showSitePin("Work", "Page C link");
    runMenu("mnuToolsOpen");
    waitForWebPages({"Page A", "Page B", "Page C"});
    EXPECT_TRUE(m_desktop.opened.empty()) << "opened in the connected browser, not the desktop's";

    // A blank window keeps the browser running once its pages are closed.
    runMenu("mnuToolsOpenBlank");
    runMenu("mnuToolsCloseAll");
    const auto remaining =
        waitForWindows([](const auto &windows) { return !windows.empty() && webTitles(windows).isEmpty(); });
    EXPECT_EQ(remaining.size(), 1u);
}

// The browser runs first: the start-up offers its pages, even before the
// window shows.
TEST_F(BridgeCaptureTest, startUpOffersThePagesOfABrowserAlreadyRunning)
{
    startBrowser();
    waitForWebPages({"Page A", "Page B"});
    QStringList names;
    EXPECT_TRUE(withModalDialog([this] { start(); }, [&](QDialog &dialog) { names = offered(dialog); }));
    names.sort();
    EXPECT_EQ(names, QStringList({"Page A", "Page B"}));
    EXPECT_EQ(ui().txtMode->text(), "") << "cancelled";
}

} // namespace
