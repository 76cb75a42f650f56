#include "FindingFixture.h"
#include "finding/Favourites.h"
#include "mainwindow/SitePinListModel.h"

namespace {

// Favourites in document order: Intranet, Mail, Tracker, Old, Bank.
QString library()
{
    using L = LibraryText;
    const auto pin = [](int wid, const char *name, bool fav = false) {
        return L::sitePin(wid, name, QStringLiteral("http://%1.example").arg(wid), {}, fav ? "TRUE" : "FALSE");
    };
    return L::folder(1, "Work", pin(1, "Intranet", true) + pin(2, "Wiki") + pin(3, "Mail", true),
                     L::folder(3, "Projects", pin(4, "Tracker", true), L::folder(4, "Archive", pin(5, "Old", true)))) +
           L::folder(2, "Home", pin(6, "Bank", true) + pin(7, "News"));
}

enum class Trigger
{
    Menu,
    Toolbar,
    Key
};

const QString kFolderQuestion = QStringLiteral("Are you sure you wish to delete the folder %1 and all its SitePins and "
                                               "sub-folders?");

class DeleteTest : public FindingFixture
{
protected:
    void startWith(const QString &body = library()) { MainWindowFixture::startWith(body); }

    void deleteSitePin(Trigger how) { run(how, "mnuEditDelete", 3, Qt::NoModifier); }
    void deleteFolder(Trigger how) { run(how, "mnuEditDeleteTopic", 14, Qt::ShiftModifier); }

    void run(Trigger how, const char *menu, int button, Qt::KeyboardModifiers modifiers)
    {
        if (how == Trigger::Menu) {
            runMenu(QString::fromLatin1(menu));
        } else if (how == Trigger::Toolbar) {
            clickToolbarButton(button);
        } else {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &window(), Qt::Key_Delete, modifiers);
        }
    }

    void expectFolderQuestion(const QString &folder)
    {
        expectOnlyMessage(kFolderQuestion.arg(folder), "Delete folder?", MessageButtons::YesNo);
    }

    QStringList favouriteNodeTags() { return ui().favsModel->widsInAddedOrder(); }

    void expectPanelCleared()
    {
        EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");
        EXPECT_FALSE(ui().Frame1->isVisible());
        EXPECT_FALSE(ui().tabInfo->isVisible());
        EXPECT_FALSE(window().m_blnEditMode);
    }

    static bool inLibrary(const XmlDocument &dom, const char *id) { return !dom.nodeFromID(id).isNull(); }
};

// Names separated by blanks.
QStringList names(const char *list)
{
    return QString::fromLatin1(list).split(' ', Qt::SkipEmptyParts);
}

struct SitePinCase
{
    const char *label;
    int tab;
    Trigger trigger;
    const char *folderList, *searchList, *favourites, *colFavs; // shown afterwards, by name; the collection by tag
};

class DeleteSitePin : public DeleteTest, public ::testing::WithParamInterface<SitePinCase>
{
};

TEST_P(DeleteSitePin, removesTheFavouriteFromTheFileAndKeepsTheListsInStep)
{
    const SitePinCase &c = GetParam();
    startWith();
    if (c.tab == 1) {
        search(AddressOnly, "example");
        clickEntry(ui().tvwSearch, "Mail");
    } else if (c.tab == 2) {
        window().selectLeftTab(2);
        clickEntry(ui().tvwFavs, "Mail");
    } else {
        showSitePin("Work", "Mail");
    }
    ASSERT_EQ(ui().lblWName->caption(), "Mail");
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteSitePin(c.trigger);

    expectOnlyMessage("Are you sure you wish to delete Mail?", "Delete SitePin?", MessageButtons::YesNo);
    const XmlDocument onDisk = reopenLibrary()->getTheDOM();
    EXPECT_FALSE(inLibrary(onDisk, "W3"));
    EXPECT_EQ(onDisk.documentElement().countElementsByTagName("SITEPIN"), 6);
    EXPECT_EQ(entryNames(ui().tvwWM), names(c.folderList));
    EXPECT_EQ(entryNames(ui().tvwSearch), names(c.searchList));
    EXPECT_EQ(entryNames(ui().tvwFavs), names(c.favourites));
    EXPECT_EQ(window().m_colFavs, names(c.colFavs));
    EXPECT_EQ(favouriteNodeTags(), window().m_colFavs);
    EXPECT_EQ(ui().lblTName->caption(), c.tab == 0 ? "Work" : "No folder selected");
    EXPECT_TRUE(window().m_strCurrentWID.isEmpty());
    expectPanelCleared();
}

INSTANTIATE_TEST_SUITE_P(Tabs, DeleteSitePin,
                         ::testing::Values(SitePinCase{"index_by_menu", 0, Trigger::Menu, "Intranet Wiki", "", "", ""},
                                           SitePinCase{"index_by_key", 0, Trigger::Key, "Intranet Wiki", "", "", ""},
                                           SitePinCase{"search_by_toolbar", 1, Trigger::Toolbar, "",
                                                       "Intranet Wiki Tracker Old Bank News", "", ""},
                                           SitePinCase{"favourites_by_menu", 2, Trigger::Menu, "", "",
                                                       "Bank Intranet Old Tracker", "W1 W4 W5 W6"}),
                         [](const auto &info) { return std::string(info.param.label); });

// The keyboard moves the selection without showing the entry; the deleted
// SitePin's entry used to stay listed then.
TEST_F(DeleteTest, theDeletedEntryGoesEvenWhenTheKeyboardMovedTheSelection)
{
    startWith();
    showSitePin("Work", "Intranet");
    QTest::keyClick(ui().tvwWM, Qt::Key_Down);
    ASSERT_EQ(selectedEntryName(ui().tvwWM), "Mail");
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteSitePin(Trigger::Menu);
    EXPECT_EQ(m_dialogs.lastText(), "Are you sure you wish to delete Intranet?");
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Mail", "Wiki"}));
    EXPECT_FALSE(inLibrary(reopenLibrary()->getTheDOM(), "W1"));
}

TEST_F(DeleteTest, aFolderGoesWithEverythingBelowItInOneSave)
{
    startWith();
    search(AddressOnly, "example");
    window().selectLeftTab(0);
    clickFolder("Work");
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteFolder(Trigger::Key);

    expectFolderQuestion("Work");
    const XmlDocument onDisk = reopenLibrary()->getTheDOM();
    EXPECT_EQ(elementNames(onDisk.documentElement()), QStringList({"FOLDER"}));
    for (const char *kept : {"T2", "W6", "W7"})
        EXPECT_TRUE(inLibrary(onDisk, kept)) << kept;
    EXPECT_EQ(onDisk.documentElement().countElementsByTagName("SITEPIN"), 2);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Home"}));
    EXPECT_TRUE(entryNames(ui().tvwSearch).isEmpty());
    EXPECT_TRUE(entryNames(ui().tvwFavs).isEmpty());
    EXPECT_TRUE(window().m_colFavs.isEmpty());
    EXPECT_TRUE(favouriteNodeTags().isEmpty());
    // The tree moved its selection to the neighbour, which is listed.
    EXPECT_EQ(window().folderTree().selectedNode(), folderNode("Home"));
    EXPECT_EQ(ui().lblTName->caption(), "Home");
    EXPECT_EQ(ui().lblSelectedTopic->text(), "Home");
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Bank", "News"}));
    EXPECT_EQ(statusPath(), " -> Home");
    expectPanelCleared();
}

TEST_F(DeleteTest, deletingTheLastFolderLeavesTheRootWithNoFolder)
{
    startWith(LibraryText::folder(1, "Only", LibraryText::sitePin(1, "Lone")));
    showSitePin("Only", "Lone");
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteFolder(Trigger::Toolbar);

    EXPECT_TRUE(reopenLibrary()->getTheDOM().documentElement().childElements().empty());
    EXPECT_TRUE(window().folderTree().isRoot(window().folderTree().selectedNode()));
    EXPECT_EQ(ui().lblTName->caption(), "No folder selected");
    EXPECT_EQ(ui().lblSelectedTopic->text(), "No folder");
    EXPECT_TRUE(entryNames(ui().tvwWM).isEmpty());
    EXPECT_FALSE(isEnabled("mnuEditDeleteTopic"));
    EXPECT_FALSE(isButtonEnabled(14));
    expectPanelCleared();
}

TEST_F(DeleteTest, answeringNoChangesNothingAndTheNameShowsAsTyped)
{
    const QString name = QStringLiteral("Say \"hi\"? It's 'odd'??");
    using L = LibraryText;
    startWith(L::folder(1, name, L::sitePin(1, name, "http://odd.example", {}, "TRUE")) + L::folder(2, "Other"));
    showSitePin(name, name);
    const QByteArray before = fileBytes();
    for (const bool folder : {false, true}) {
        m_dialogs.forget();
        m_dialogs.answerNext(MessageAnswer::No);
        if (folder) {
            deleteFolder(Trigger::Menu);
            expectFolderQuestion(name);
        } else {
            deleteSitePin(Trigger::Menu);
            expectOnlyMessage("Are you sure you wish to delete " + name + "?", "Delete SitePin?",
                              MessageButtons::YesNo);
        }
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Other", name}));
        EXPECT_EQ(entryNames(ui().tvwWM), QStringList({name}));
        EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({name}));
        EXPECT_EQ(window().m_colFavs, QStringList({"W1"}));
        EXPECT_EQ(ui().lblWName->caption(), name);
    }
}

// A search hit names its own folder above the panel while the tree keeps
// the root, or another folder, selected; the question used to name the one
// above the panel and delete the one in the tree.
TEST_F(DeleteTest, onlyTheFolderSelectedInTheTreeIsOneToDelete)
{
    startWith();
    const QByteArray before = fileBytes();
    search(NameOnly, "Tracker");
    clickEntry(ui().tvwSearch, "Tracker");
    ASSERT_TRUE(isEnabled("mnuEditDeleteTopic")) << "a folder is named above the panel";
    ASSERT_TRUE(window().folderTree().isRoot(window().folderTree().selectedNode()));
    deleteFolder(Trigger::Menu);
    expectOnlyMessage("A folder must be selected to delete", "SitePins Manager");

    window().selectLeftTab(0);
    clickFolder("Home");
    window().selectLeftTab(1);
    clickEntry(ui().tvwSearch, "Tracker");
    ASSERT_EQ(ui().lblTName->caption(), "Projects");
    m_dialogs.forget();
    m_dialogs.answerNext(MessageAnswer::No);
    deleteFolder(Trigger::Menu);
    expectFolderQuestion("Home");
    EXPECT_EQ(fileBytes(), before);
}

} // namespace
