#include "RealBrowserFixture.h"
#include "platform/browser/BridgeExtension.h"

namespace {

class BridgeFirefoxTest : public RealBrowserFixture
{
protected:
    BridgeFirefoxTest()
        : RealBrowserFixture(HeadlessBrowser::Kind::Firefox)
    {
    }
};

// One start only: Firefox on a fresh profile takes several seconds.
TEST_F(BridgeFirefoxTest, findsTheBrowserAndDrivesIt)
{
    createBridge();
    startBrowser();
    expectPagesAAndB();
    EXPECT_EQ(reportedExtensionId(), BridgeExtension::geckoId());
    // Firefox lets no extension open a file: address; with no other browser
    // to take it, the program is told so and uses the desktop's default.
    EXPECT_FALSE(m_bridge->openWindow(QStringLiteral("file:///tmp/page.html")));
    openAndClosePages();
}

} // namespace
