#include "RealBrowserFixture.h"
#include "platform/browser/BridgeExtension.h"

namespace {

class BridgeChromiumTest : public RealBrowserFixture
{
protected:
    BridgeChromiumTest()
        : RealBrowserFixture(HeadlessBrowser::Kind::Chromium)
    {
    }
};

// The program runs first and finds the browser once it has started.
TEST_F(BridgeChromiumTest, findsABrowserStartedAfterTheProgramAndDrivesIt)
{
    createBridge();
    EXPECT_TRUE(m_bridge->shellWindows(QDeadlineTimer(kDetectionMs)).empty());
    startBrowser();
    expectPagesAAndB();
    openAndClosePages();
}

// The browser runs first, as at the program's start-up capture. Chromium
// names the extension as we do, or it would not have started our host.
TEST_F(BridgeChromiumTest, findsABrowserStartedBeforeTheProgram)
{
    startBrowser();
    ASSERT_TRUE(waitForHostSocket());
    createBridge();
    expectPagesAAndB();
    EXPECT_EQ(reportedExtensionId(), BridgeExtension::chromiumId());
}

} // namespace
