#include "FindingFixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

class ClipboardTest : public FindingFixture
{
protected:
    void SetUp() override
    {
        FindingFixture::SetUp();
        startWith(LibraryText::folder(
            1, "Places",
            LibraryText::sitePin(1, "Home & away", "http://a.example/?x=1&y=2", "line 1\nline 2", "FALSE", "Desc") +
                LibraryText::sitePin(2, "Bare", "http://bare.example")));
        QGuiApplication::clipboard()->setText("previous");
    }

    static QString clipboardText() { return QGuiApplication::clipboard()->text(); }
};

TEST_F(ClipboardTest, copyCommandsPutTheStoredTextOnTheClipboard)
{
    showSitePin("Places", "Home & away");
    const std::pair<const char *, const char *> commands[] = {
        {"mnuEditClipSP", "Name: Home & away\r\n\r\nAddress: http://a.example/?x=1&y=2\r\n\r\nDescription: Desc\r\n\r\n"
                          "Notes: line 1\nline 2\r\n\r\n"},
        {"mnuEditClipName", "Home & away"},
        {"mnuEditClipURL", "http://a.example/?x=1&y=2"},
        {"mnuEditClipDesc", "Desc"},
        {"mnuEditClipNotes", "line 1\nline 2"}};
    for (const auto &[command, text] : commands) {
        QGuiApplication::clipboard()->setText("previous");
        runMenu(command);
        EXPECT_EQ(clipboardText(), QString::fromLatin1(text)) << command;
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(ClipboardTest, anEmptyFieldLeavesEmptyText)
{
    showSitePin("Places", "Bare");
    runMenu("mnuEditClipNotes");
    EXPECT_EQ(clipboardText(), "");
}

// The menu is locked while editing; the commands themselves must still never
// read the input fields.
TEST_F(ClipboardTest, copiesWhatIsStoredNotWhatIsTyped)
{
    showSitePin("Places", "Home & away");
    runMenu("mnuEditModify");
    QTest::keyClicks(ui().txtWName, "Typed");
    window().commands().run("mnuEditClipName");
    EXPECT_EQ(clipboardText(), "Home & away");

    clickToolbarButton(20);
    runMenu("mnuEditClipName");
    EXPECT_EQ(clipboardText(), "Typed");
}

TEST_F(ClipboardTest, withNoSitePinShownTheClipboardKeepsItsText)
{
    window().commands().run("mnuEditClipSP");
    EXPECT_EQ(clipboardText(), "previous");
}

} // namespace
