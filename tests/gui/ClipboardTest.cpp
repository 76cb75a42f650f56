#include "FindingFixture.h"
#include "mainwindow/NotifyingLabel.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

class ClipboardTest : public FindingFixture
{
protected:
    void SetUp() override
    {
        FindingFixture::SetUp();
        writeLibraryBody(LibraryText::folder(
            1, "Places",
            LibraryText::sitePin(1, "Home & away", "http://a.example/?x=1&y=2", "line 1\nline 2", "FALSE", "Desc") +
                LibraryText::sitePin(2, "Bare", "http://bare.example")));
        start();
        QGuiApplication::clipboard()->setText("previous");
    }

    void show(const QString &name)
    {
        clickFolder("Places");
        clickSitePin(name);
    }

    static QString clipboardText() { return QGuiApplication::clipboard()->text(); }
};

struct CopyCase
{
    const char *command;
    const char *text;
};

class CopyField : public ClipboardTest, public ::testing::WithParamInterface<CopyCase>
{
};

TEST_P(CopyField, putsTheStoredTextOnTheClipboard)
{
    show("Home & away");
    runMenu(GetParam().command);
    EXPECT_EQ(clipboardText(), QString::fromLatin1(GetParam().text));
    EXPECT_TRUE(m_dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CopyField,
    ::testing::Values(CopyCase{"mnuEditClipSP", "Name: Home & away\r\n\r\nAddress: http://a.example/?x=1&y=2\r\n\r\n"
                                                "Description: Desc\r\n\r\nNotes: line 1\nline 2\r\n\r\n"},
                      CopyCase{"mnuEditClipName", "Home & away"},
                      CopyCase{"mnuEditClipURL", "http://a.example/?x=1&y=2"}, CopyCase{"mnuEditClipDesc", "Desc"},
                      CopyCase{"mnuEditClipNotes", "line 1\nline 2"}));

TEST_F(ClipboardTest, anEmptyFieldLeavesEmptyText)
{
    show("Bare");
    runMenu("mnuEditClipNotes");
    EXPECT_EQ(clipboardText(), "");
}

// The menu is locked while editing; the commands themselves must still never
// read the input fields.
TEST_F(ClipboardTest, copiesWhatIsStoredNotWhatIsTyped)
{
    show("Home & away");
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
