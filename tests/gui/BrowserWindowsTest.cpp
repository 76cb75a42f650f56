#include "browser/BrowserWindows.h"
#include "FakeBrowser.h"
#include "FindingFixture.h"
#include "ModalDialog.h"
#include "browser/PreviewPane.h"
#include "browser/frmSitePinDialog.h"
#include "editing/SitePinEditor.h"
#include "platform/InstanceChannel.h"

#include <QDialog>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTimer>

#include <future>

namespace {

QString sampleLibrary()
{
    return LibraryText::folder(1, "Work",
                               LibraryText::sitePin(1, "Intranet", "http://intranet.example/") +
                                   LibraryText::sitePin(2, "Spaced", "http://example.org/a b"));
}

class BrowserWindowsTest : public FindingFixture
{
protected:
    void SetUp() override
    {
        FindingFixture::SetUp();
        m_environment.browsers = &m_browser;
        writeLibraryBody(sampleLibrary());
    }

    BrowserWindows &browsers() { return window().browserWindows(); }
    QString mode() { return ui().txtMode->text(); }
    QString editedName() { return ui().txtWName->text(); }
    QString editedAddress() { return ui().txtAddress->text(); }

    static frmSitePinDialog &captureDialog(QDialog &dialog)
    {
        auto *capture = qobject_cast<frmSitePinDialog *>(&dialog);
        EXPECT_TRUE(capture);
        return *capture;
    }
    static QStringList detectedNodes(frmSitePinDialog &dialog)
    {
        QStringList names;
        for (int i = 0; i < dialog.tvwDetected->topLevelItemCount(); ++i)
            names << dialog.tvwDetected->topLevelItem(i)->text(0);
        return names;
    }
    // Picks the entry by a click on its node, then presses OK.
    static void pickAndConfirm(frmSitePinDialog &dialog, int index)
    {
        QTreeWidgetItem *node = dialog.tvwDetected->topLevelItem(index);
        ASSERT_TRUE(node);
        QTest::mouseClick(dialog.tvwDetected->viewport(), Qt::LeftButton, {},
                          dialog.tvwDetected->visualItemRect(node).center());
        QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    }

    // A second start handing the capture over.
    void handOver(const QString &text)
    {
        ui().ThunderTextBox->setText(text);
        QTest::qWait(50);
    }

    void cancelTheEdit()
    {
        m_dialogs.answerNext(MessageAnswer::Yes);
        clickToolbarButton(21);
        ASSERT_EQ(mode(), "");
    }

    void twoPages()
    {
        m_browser.addPage("News", "http://news.example/today");
        m_browser.addPage("Weather", "http://weather.example/");
    }

    FakeBrowser m_browser;
};

// Only tabs of web browsers that show an address count; a page without a
// title goes by its short name; "%20" reads as a blank.
TEST_F(BrowserWindowsTest, detectionKeepsWebPagesNamedByTitleElseShortName)
{
    start();
    m_browser.addPage("News", "http://news.example/a%20b%20c");
    m_browser.addPage("", "file:///home/me/page.html", "page.html");
    m_browser.add({"settings", "chrome://settings/", "settings", "Settings", false});
    m_browser.add({"empty", "", "", "Nothing", true});
    m_browser.addPage("Docs", "https://docs.example/?q=a%2520");

    browsers().detectBrowserWindows();
    EXPECT_EQ(browsers().detectedCount, 3);
    EXPECT_EQ(browsers().detectedNames, QStringList({"News", "page.html", "Docs"}));
    EXPECT_EQ(browsers().detectedAddresses, QStringList({"http://news.example/a b c", "file:///home/me/page.html",
                                                         "https://docs.example/?q=a%2520"}));

    m_browser.windows.clear();
    browsers().detectBrowserWindows();
    EXPECT_EQ(browsers().detectedCount, 0);
    EXPECT_TRUE(browsers().detectedNames.isEmpty());
    EXPECT_TRUE(browsers().detectedAddresses.isEmpty());
}

TEST_F(BrowserWindowsTest, menuCaptureWithNoPageSaysSoAndWithOneStartsTheCreateDirectly)
{
    start();
    m_browser.add({"newtab", "chrome://newtab/", "newtab", "New Tab", false});
    runMenu("mnuToolsGet");
    expectOnlyMessage("No Internet Explorer windows are open", "SitePins Manager", MessageButtons::Ok,
                      MessageIcon::Information);
    EXPECT_EQ(mode(), "");

    m_dialogs.forget();
    m_browser.addPage("News", "http://news.example/a%20b");
    clickToolbarButton(17);
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_EQ(mode(), "add");
    EXPECT_EQ(editedName(), "News");
    EXPECT_EQ(editedAddress(), "http://news.example/a b");

    // Filed in a folder and saved, the capture is in the library file.
    clickFolder("Work");
    clickToolbarButton(20);
    EXPECT_EQ(mode(), "");
    const XmlNode saved = reopenLibrary()->getTheDOM().nodeFromID("W3");
    EXPECT_EQ(saved.selectSingleNode("NAME").text(), "News");
    EXPECT_EQ(saved.selectSingleNode("ADDRESS").text(), "http://news.example/a b");
}

TEST_F(BrowserWindowsTest, menuCaptureOfTwoPagesLetsTheUserPickOrCancel)
{
    start();
    twoPages();
    EXPECT_TRUE(withModalDialog(
        [this] { runMenu("mnuToolsGet"); },
        [this](QDialog &dialog) {
            frmSitePinDialog &capture = captureDialog(dialog);
            EXPECT_EQ(dialog.windowTitle(), "SitePin detected");
            EXPECT_EQ(dialogLabel(dialog, "Label1"),
                      "The following web addresses were detected.  Select one if you wish to add as a SitePin:");
            EXPECT_EQ(detectedNodes(capture), QStringList({"News", "Weather"}));
            EXPECT_EQ(capture.lblName->text(), "News");
            EXPECT_EQ(capture.lblAddress->text(), "http://news.example/today");
            EXPECT_TRUE(capture.cmdOK->isDefault());
            EXPECT_TRUE(window().preview().isSilent());
            pickAndConfirm(capture, 1);
        }));
    EXPECT_EQ(mode(), "add");
    EXPECT_EQ(editedName(), "Weather");
    EXPECT_EQ(editedAddress(), "http://weather.example/");
    EXPECT_EQ(window().editor().capturedName, "Weather");

    cancelTheEdit();
    EXPECT_TRUE(withModalDialog([this] { runMenu("mnuToolsGet"); },
                                [](QDialog &dialog) {
                                    frmSitePinDialog &capture = captureDialog(dialog);
                                    QTreeWidgetItem *second = capture.tvwDetected->topLevelItem(1);
                                    QTest::mouseClick(capture.tvwDetected->viewport(), Qt::LeftButton, {},
                                                      capture.tvwDetected->visualItemRect(second).center());
                                    EXPECT_EQ(capture.lblName->text(), "Weather");
                                    movePointer(capture.lblAddress, QPoint(2, 2));
                                    EXPECT_EQ(capture.lblAddress->toolTip(), "http://weather.example/");
                                    QTest::mouseClick(capture.cmdCancel, Qt::LeftButton);
                                }));
    EXPECT_EQ(mode(), "");
    EXPECT_EQ(window().editor().capturedAddress, "");
}

// The hand-over from a second start: one page is taken at once, several
// are offered, none is silence; Cancel starts nothing there either.
TEST_F(BrowserWindowsTest, handedOverCaptureTakesOneOffersSeveralAndIsSilentWithNone)
{
    start();
    handOver("17");
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_EQ(mode(), "");
    EXPECT_EQ(m_browser.listings, 2) << "once at start-up, once now";

    twoPages();
    EXPECT_TRUE(withModalDialog([this] { handOver("18"); }, [](QDialog &dialog) { dialog.reject(); }));
    EXPECT_EQ(mode(), "");

    EXPECT_TRUE(
        withModalDialog([this] { handOver("19"); }, [](QDialog &dialog) { pickAndConfirm(captureDialog(dialog), 1); }));
    EXPECT_EQ(mode(), "add");
    EXPECT_EQ(editedName(), "Weather");

    cancelTheEdit();
    m_browser.windows.resize(1);
    handOver("20");
    EXPECT_EQ(mode(), "add");
    EXPECT_EQ(editedName(), "News");
}

// The page the user asked the browser to keep is the one taken, through
// the hand-over's Timer1, with no look at the other open pages and no
// dialog; an edit still open is not thrown away without asking.
TEST_F(BrowserWindowsTest, aPageHandedOverIsTakenWithoutTheDialog)
{
    start();
    twoPages();
    const int listings = m_browser.listings;
    const auto page = CapturedPage::make("http://example.org/kept%20page", "Kept page");
    const auto send = [this, &page] {
        auto sent = std::async(std::launch::async, [this, &page] {
            return InstanceChannel(m_environment.instanceName).sendToPrimary(page->toMessage(), 5000);
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                                    10000));
        EXPECT_TRUE(sent.get());
        QTest::qWait(100);
    };
    QSignalSpy ticks(ui().Timer1, &QTimer::timeout);
    send();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mode() == "add"; }, 5000));
    EXPECT_EQ(ticks.size(), 1);
    EXPECT_EQ(editedName(), "Kept page");
    EXPECT_EQ(editedAddress(), "http://example.org/kept page");
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_EQ(m_browser.listings, listings);

    m_dialogs.answerNext(MessageAnswer::No);
    ui().txtWName->setText("Typed");
    send();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() == 2; }, 5000));
    EXPECT_EQ(m_dialogs.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(editedName(), "Typed");
}

// A start for one page (the browser's button, the program not running)
// opens the create on that page, however many pages are open.
TEST_F(BrowserWindowsTest, aStartForAPageTakesItWithoutTheDialog)
{
    twoPages();
    m_environment.pageToCapture = CapturedPage::make("https://example.org/start", "Start page");
    // A dialog would wait for the user: close it, and the checks below fail.
    QTimer::singleShot(10000, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    start();
    EXPECT_EQ(mode(), "add");
    EXPECT_EQ(editedName(), "Start page");
    EXPECT_EQ(editedAddress(), "https://example.org/start");
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(BrowserWindowsTest, startUpOffersEvenASinglePageInTheDialog)
{
    m_browser.addPage("News", "http://news.example/");
    QStringList offered;
    EXPECT_TRUE(withModalDialog([this] { start(); },
                                [&](QDialog &dialog) {
                                    offered = detectedNodes(captureDialog(dialog));
                                    QTest::mouseClick(captureDialog(dialog).cmdOK, Qt::LeftButton);
                                }));
    EXPECT_EQ(offered, QStringList({"News"}));
    EXPECT_EQ(mode(), "add");
    EXPECT_EQ(editedName(), "News");
    EXPECT_EQ(editedAddress(), "http://news.example/");
}

// A capture never throws away an edit without the program's usual question.
TEST_F(BrowserWindowsTest, captureDuringAnEditAsksBeforeReplacingIt)
{
    start();
    showSitePin("Work", "Intranet");
    runMenu("mnuEditModify");
    m_browser.addPage("News", "http://news.example/");

    m_dialogs.answerNext(MessageAnswer::No);
    runMenu("mnuToolsGet");
    EXPECT_EQ(m_dialogs.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(mode(), "mod");
    EXPECT_EQ(editedName(), "Intranet");

    m_dialogs.answerNext(MessageAnswer::Yes);
    runMenu("mnuToolsGet");
    EXPECT_EQ(mode(), "add");
    EXPECT_EQ(editedName(), "News");
}

TEST_F(BrowserWindowsTest, openingTheShownSitePinOpensANewWindowEachTime)
{
    start();
    // Its menu entry and button are disabled until a SitePin is shown.
    browsers().mnuToolsOpen_Click();
    expectOnlyMessage("A SitePin must be selected to open in the browser window", "SitePins");
    EXPECT_TRUE(m_browser.openedAddresses.isEmpty());

    showSitePin("Work", "Intranet");
    clickToolbarButton(16);
    runMenu("mnuToolsOpen");
    EXPECT_EQ(m_browser.openedAddresses, QStringList({"http://intranet.example/", "http://intranet.example/"}));
    EXPECT_EQ(browsers().m_objBrowser, "opened2");

    // During an edit the address as typed is opened.
    runMenu("mnuEditModify");
    ui().txtAddress->setText("example.net/typed");
    runMenu("mnuToolsOpen");
    EXPECT_EQ(m_browser.openedAddresses.last(), "http://example.net/typed");
}

TEST_F(BrowserWindowsTest, clickOnTheAddressLabelOpensItAndRestoresItsLook)
{
    start();
    showSitePin("Work", "Spaced");
    QLabel *address = ui().lblAddress;
    QFont underlined = address->font();
    underlined.setUnderline(true);
    address->setFont(underlined);
    QTest::mouseClick(address, Qt::LeftButton);
    EXPECT_EQ(m_browser.openedAddresses, QStringList({"http://example.org/a%20b"}));
    EXPECT_FALSE(address->font().underline());
    EXPECT_EQ(address->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

TEST_F(BrowserWindowsTest, listPopUpOpensTheRightClickedSitePin)
{
    start();
    search(FullText, "Spaced");
    QTreeView *hits = ui().tvwSearch;
    QMenu *popup = ui().commands->popupMenu();
    const auto closePopup = qScopeGuard([popup] { popup->hide(); });
    QTest::mouseClick(hits->viewport(), Qt::RightButton, {}, hits->visualRect(entry(hits, "Spaced")).center());
    ASSERT_TRUE(popup->isVisible());
    popup->hide();
    runMenu("mnuOpenSP");
    EXPECT_EQ(m_browser.openedAddresses, QStringList({"http://example.org/a%20b"}));
}

// With no browser connected, pages go to the desktop's default browser.
TEST_F(BrowserWindowsTest, withoutAConnectedBrowserTheDesktopOpensThePage)
{
    m_browser.connected = false;
    start();
    showSitePin("Work", "Intranet");
    runMenu("mnuToolsOpen");
    ASSERT_EQ(m_desktop.opened.size(), 1u);
    EXPECT_EQ(m_desktop.opened.front(), QUrl("http://intranet.example/"));
    EXPECT_EQ(browsers().m_objBrowser, "");

    clickToolbarButton(18);
    EXPECT_EQ(m_desktop.defaultBrowserStarts, 1);
    m_browser.connected = true;
    runMenu("mnuToolsOpenBlank");
    EXPECT_EQ(m_browser.blankWindowsOpened, 1);
    EXPECT_EQ(browsers().m_objBrowser, "blank1");
}

// Closing goes from the last tab down and leaves the browsers' own pages.
TEST_F(BrowserWindowsTest, closeAllClosesWebPagesFromTheLastDown)
{
    start();
    m_browser.addPage("One", "http://one.example/");
    m_browser.add({"settings", "chrome://settings/", "settings", "Settings", false});
    m_browser.addPage("Three", "file:///tmp/three.html");
    runMenu("mnuToolsCloseAll");
    EXPECT_EQ(m_browser.quitIds, QStringList({"tab3", "tab1"}));
    ASSERT_EQ(m_browser.windows.size(), 1u);
    EXPECT_EQ(m_browser.windows.front().id, "settings");
    EXPECT_TRUE(m_dialogs.shown().empty());
}

} // namespace
