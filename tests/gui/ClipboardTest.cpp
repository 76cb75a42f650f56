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
    }

    // The command runs directly when its menu entry is locked.
    QString copied(const char *command, bool throughMenu = true)
    {
        QGuiApplication::clipboard()->setText("previous");
        if (throughMenu)
            runMenu(command);
        else
            window().commands().run(command);
        return QGuiApplication::clipboard()->text();
    }
};

TEST_F(ClipboardTest, copyCommandsPutTheStoredTextOnTheClipboard)
{
    EXPECT_EQ(copied("mnuEditClipSP", false), "previous") << "no SitePin shown";
    showSitePin("Places", "Bare");
    EXPECT_EQ(copied("mnuEditClipNotes"), "") << "an empty field";

    showSitePin("Places", "Home & away");
    const std::pair<const char *, const char *> commands[] = {
        {"mnuEditClipSP", "Name: Home & away\r\n\r\nAddress: http://a.example/?x=1&y=2\r\n\r\nDescription: Desc\r\n\r\n"
                          "Notes: line 1\nline 2\r\n\r\n"},
        {"mnuEditClipName", "Home & away"},
        {"mnuEditClipURL", "http://a.example/?x=1&y=2"},
        {"mnuEditClipDesc", "Desc"},
        {"mnuEditClipNotes", "line 1\nline 2"}};
    for (const auto &[command, text] : commands)
        EXPECT_EQ(copied(command), QString::fromLatin1(text)) << command;
    EXPECT_TRUE(m_dialogs.shown().empty());
}

// The menu is locked while editing; the commands themselves must still never
// read the input fields.
TEST_F(ClipboardTest, copiesWhatIsStoredNotWhatIsTyped)
{
    showSitePin("Places", "Home & away");
    runMenu("mnuEditModify");
    QTest::keyClicks(ui().txtWName, "Typed");
    EXPECT_EQ(copied("mnuEditClipName", false), "Home & away");
    clickToolbarButton(20);
    EXPECT_EQ(copied("mnuEditClipName"), "Typed");
}

} // namespace
