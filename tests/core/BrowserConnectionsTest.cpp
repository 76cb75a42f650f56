#include "platform/browser/BrowserConnections.h"
#include "FakeBrowser.h"
#include "TestFiles.h"
#include "platform/DefaultWebBrowser.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct TwoBrowsers : ::testing::Test
{
    TwoBrowsers()
    {
        auto firstBackend = std::make_unique<FakeBrowser>();
        auto secondBackend = std::make_unique<FakeBrowser>();
        first = firstBackend.get();
        second = secondBackend.get();
        first->addPage("A", "http://a.example/");
        second->addPage("B", "http://b.example/");
        connections.add(std::move(firstBackend));
        connections.add(std::move(secondBackend));
    }

    BrowserConnections connections;
    FakeBrowser *first = nullptr;
    FakeBrowser *second = nullptr;
};

// Both list a "tab1": closing the second's must not close the first's.
TEST_F(TwoBrowsers, listsInBackendOrderAndClosesThroughTheBackendThatListed)
{
    const std::vector<ShellWindow> windows = connections.shellWindows(QDeadlineTimer(500));
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].documentTitle, "A");
    EXPECT_EQ(windows[1].documentTitle, "B");
    EXPECT_TRUE(connections.quit(windows[1]));
    EXPECT_TRUE(first->quitIds.isEmpty());
    EXPECT_EQ(second->quitIds, QStringList({"tab1"}));

    ShellWindow forged = windows[0];
    for (const char *id : {"tab1", "7|tab1", "x|tab1", "|tab1"}) {
        forged.id = QString::fromLatin1(id);
        EXPECT_FALSE(connections.quit(forged)) << id;
    }
    EXPECT_TRUE(first->quitIds.isEmpty());
}

TEST_F(TwoBrowsers, opensInTheFirstBrowserThatTakesIt)
{
    QString id;
    first->connected = false;
    EXPECT_TRUE(connections.openWindow("http://c.example/", &id));
    EXPECT_EQ(second->openedAddresses, QStringList({"http://c.example/"}));
    EXPECT_EQ(id, "1|opened1");
    second->connected = false;
    EXPECT_FALSE(connections.openBlankWindow(&id));
    EXPECT_FALSE(BrowserConnections().openWindow("http://c.example/"));
}

TEST_F(TwoBrowsers, anExpiredDeadlineAsksNoMoreBrowsers)
{
    EXPECT_TRUE(connections.shellWindows(QDeadlineTimer(0)).empty());
    EXPECT_EQ(first->listings + second->listings, 0);
}

TEST(DefaultWebBrowser, launchCommandDropsFieldCodesAndKeepsQuotedArguments)
{
    const struct
    {
        const char *exec;
        QStringList command;
    } cases[] = {
        {"/usr/bin/chromium %U", {"/usr/bin/chromium"}},
        {"firefox-esr %u", {"firefox-esr"}},
        {"\"/opt/My Browser/browser\" --new-window %U", {"/opt/My Browser/browser", "--new-window"}},
        {"browser --label 100%% %f", {"browser", "--label", "100%"}},
    };
    for (const auto &each : cases)
        EXPECT_EQ(DefaultWebBrowser::commandFromExec(QString::fromLatin1(each.exec)), each.command) << each.exec;

    QTemporaryDir folder;
    const QString path = folder.filePath("browser.desktop");
    ASSERT_TRUE(TestFiles::write(path, "[Desktop Entry]\nName=Browser\nExec=browser %U\n\n[Desktop Action "
                                       "new-window]\nExec=browser --new-window %U\n"));
    EXPECT_EQ(DefaultWebBrowser::launchCommand(path), QStringList({"browser"}));
    EXPECT_TRUE(DefaultWebBrowser::launchCommand(folder.filePath("missing.desktop")).isEmpty());
}

} // namespace
