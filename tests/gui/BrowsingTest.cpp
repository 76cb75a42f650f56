#include "MainWindowFixture.h"
#include "browser/PreviewPane.h"

namespace {

using LT = LibraryText;

class BrowsingTest : public MainWindowFixture
{
protected:
    QTreeWidgetItem *root() { return ui().tvwTopics->topLevelItem(0); }
};

} // namespace

TEST_F(BrowsingTest, foldersAndSitePinsAreListedSortedAndTheRootSelectsNothing)
{
    startWith(LT::folder(1, "beta", LT::sitePin(1, "zeta") + LT::sitePin(2, "Alpha") + LT::sitePin(3, "beta"),
                         LT::folder(4, "Z") + LT::folder(5, "A", {}, LT::folder(6, "C", LT::sitePin(4, "deep")))) +
              LT::folder(2, "Alpha") + LT::folder(3, "gamma"));
    EXPECT_EQ(root()->text(0), "FOLDERS");
    EXPECT_TRUE(root()->isExpanded());
    EXPECT_EQ(childNames(root()), QStringList({"Alpha", "beta", "gamma"}));
    QTreeWidgetItem *beta = folderNode("beta");
    EXPECT_EQ(beta->data(0, Qt::UserRole).toString(), "T1") << "nodes carry the folder's identifier";
    EXPECT_FALSE(beta->isExpanded());
    EXPECT_EQ(childNames(beta), QStringList({"Z", "A"})) << "document order until first opened";
    ui().tvwTopics->expandItem(beta);
    EXPECT_EQ(childNames(beta), QStringList({"A", "Z"}));

    clickFolder("beta");
    const QStringList pins = {"Alpha", "beta", "zeta"};
    EXPECT_EQ(entryNames(ui().tvwWM), pins);
    EXPECT_EQ(ui().lblTName->caption(), "beta");
    EXPECT_EQ(ui().txtTID->text(), "T1");
    EXPECT_EQ(ui().lblSelectedTopic->text(), "beta");
    EXPECT_TRUE(isEnabled("mnuNavigate"));
    EXPECT_TRUE(isButtonEnabled(14)) << "a folder is current: it can be deleted";

    clickItem(ui().tvwTopics, root());
    EXPECT_EQ(entryNames(ui().tvwWM), pins);
    EXPECT_EQ(ui().lblTName->caption(), "beta");
    ui().tvwTopics->collapseItem(root());
    EXPECT_EQ(ui().tvwWM->model()->rowCount(), 0);
    EXPECT_EQ(ui().lblSelectedTopic->text(), "No folder");

    ui().tvwTopics->expandItem(root());
    clickFolder("gamma");
    EXPECT_EQ(ui().tvwWM->model()->rowCount(), 0);
    EXPECT_TRUE(ui().tvwWM->isVisible()) << "the list is shown again even when empty";

    folderNode("A")->setExpanded(true);
    clickFolder("C");
    EXPECT_EQ(ui().StatusBar1->panelText(2), " -> beta -> A -> C");
    clickSitePin("deep");
    EXPECT_EQ(ui().StatusBar1->panelText(2), " -> beta -> A -> C");
    EXPECT_EQ(ui().lblTName->caption(), "C");
}

TEST_F(BrowsingTest, displayingASitePinFillsThePanelAndAnotherFolderClearsIt)
{
    startWith(
        LT::folder(1, "Work",
                   LT::sitePin(4, "Intranet", "http://intranet/", "line one\nline two", "FALSE", "The company pages") +
                       LT::sitePin(5, "Second")) +
        LT::folder(2, "Home"));
    showSitePin("Work", "Intranet");
    EXPECT_EQ(ui().lblWName->caption(), "Intranet");
    EXPECT_EQ(ui().txtWName->text(), "Intranet");
    EXPECT_EQ(ui().lblAddress->text(), "http://intranet/");
    EXPECT_EQ(ui().txtAddress->text(), "http://intranet/");
    EXPECT_EQ(ui().lblDescription->text(), "The company pages");
    EXPECT_EQ(ui().lblCreatedDate->text(), "04 Dec 2026");
    EXPECT_EQ(ui().txtNotes->toPlainText(), "line one\nline two");
    EXPECT_TRUE(ui().txtNotes->isReadOnly());
    EXPECT_EQ(ui().txtModTab->text(), "0");
    EXPECT_EQ(ui().txtWID->text(), "W4");
    EXPECT_EQ(window().m_strCurrentWID, "W4");
    EXPECT_TRUE(ui().tabInfo->isVisible());
    for (int button : {2, 3, 16})
        EXPECT_TRUE(isButtonEnabled(button)) << button;
    for (const char *menu : {"mnuEditModify", "mnuEditDelete", "mnuToolsOpen", "mnuEditClip", "mnuFavs"})
        EXPECT_TRUE(isEnabled(menu)) << menu;
    EXPECT_EQ(window().preview().currentAddress(), "about:blank") << "auto-preview is off";

    ui().tvwWM->setFocus();
    ui().tvwWM->setCurrentIndex(entry(ui().tvwWM, "Second"));
    QTest::keyClick(ui().tvwWM, Qt::Key_Return);
    EXPECT_EQ(ui().lblWName->caption(), "Second") << "Enter shows the selected SitePin";

    clickFolder("Home");
    EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");
    EXPECT_FALSE(ui().tabInfo->isVisible());
    EXPECT_FALSE(isButtonEnabled(2));
    clickFolder("Work");
    ASSERT_TRUE(ui().tvwWM->currentIndex().isValid());
    EXPECT_EQ(currentEntryName(ui().tvwWM), "Second") << "the SitePin last shown stays selected";
}

// Without ID declarations nothing can be looked up; the folder simply lists nothing.
TEST_F(BrowsingTest, libraryWithoutIdDeclarationsListsNothingAndDoesNotCrash)
{
    writeLibrary(LT::document(LT::folder(1, "Work", LT::sitePin(1, "Hidden")), false));
    start();
    clickFolder("Work");
    EXPECT_EQ(ui().tvwWM->model()->rowCount(), 0);
}
