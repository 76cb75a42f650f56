#include "FindingFixture.h"
#include "finding/Favourites.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/TreeNode.h"
#include "platform/StateField.h"
#include "store/XMLDatabase.h"

#include <QFrame>
#include <QLabel>
#include <QTabWidget>

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

class DeleteTest : public FindingFixture
{
protected:
    void startWith(const QString &body)
    {
        writeLibraryBody(body);
        start();
    }

    void deleteSitePin(Trigger how) { run(how, "mnuEditDelete", 3, Qt::NoModifier); }

    void deleteFolder(Trigger how) { run(how, "mnuEditDeleteTopic", 14, Qt::ShiftModifier); }

    void run(Trigger how, const char *menu, int button, Qt::KeyboardModifiers modifiers)
    {
        switch (how) {
        case Trigger::Menu:
            runMenu(QString::fromLatin1(menu));
            break;
        case Trigger::Toolbar:
            clickToolbarButton(button);
            break;
        case Trigger::Key: {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &window(), Qt::Key_Delete, modifiers);
            break;
        }
        }
    }

    void expectQuestion(const QString &text, const char *title)
    {
        ASSERT_EQ(m_dialogs.shown().size(), 1u) << m_dialogs.lastText().toStdString();
        const MessageRequest &asked = m_dialogs.shown().front().request;
        EXPECT_EQ(asked.text, text);
        EXPECT_EQ(asked.title, title);
        EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
        EXPECT_EQ(asked.icon, MessageIcon::None);
    }

    QStringList favouriteNodeTags()
    {
        QStringList tags;
        for (const QTreeWidgetItem *node : window().favourites().nodesInInsertionOrder())
            tags << TreeNode::tagOf(node);
        return tags;
    }

    void expectPanelCleared()
    {
        EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");
        EXPECT_FALSE(ui().Frame1->isVisible());
        EXPECT_FALSE(ui().tabInfo->isVisible());
        EXPECT_FALSE(window().m_blnEditMode);
    }

    static bool inLibrary(const XmlDocument &dom, const char *id) { return !dom.nodeFromID(id).isNull(); }
};

struct SitePinCase
{
    const char *label;
    int tab;
    Trigger trigger;
    QStringList folderList;
    QStringList searchList;
    QStringList favourites; // shown, by name
    QStringList colFavs;
    const char *folderCaption;
};

class DeleteSitePin : public DeleteTest, public ::testing::WithParamInterface<SitePinCase>
{
protected:
    void showMail()
    {
        if (GetParam().tab == 1) {
            search(AddressOnly, "example");
            clickEntry(ui().tvwSearch, "Mail");
        } else if (GetParam().tab == 2) {
            window().selectLeftTab(2);
            clickEntry(ui().tvwFavs, "Mail");
        } else {
            clickFolder("Work");
            clickSitePin("Mail");
        }
        ASSERT_EQ(ui().lblWName->caption(), "Mail");
    }
};

TEST_P(DeleteSitePin, removesTheFavouriteFromTheFileAndKeepsTheListsInStep)
{
    const SitePinCase &c = GetParam();
    startWith(library());
    showMail();
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteSitePin(c.trigger);

    expectQuestion("Are you sure you wish to delete Mail?", "Delete SitePin?");
    const XmlDocument onDisk = reopenLibrary()->getTheDOM();
    EXPECT_FALSE(inLibrary(onDisk, "W3"));
    for (const char *kept : {"W1", "W2", "W4", "W5", "W6", "W7"})
        EXPECT_TRUE(inLibrary(onDisk, kept)) << kept;
    EXPECT_EQ(entryNames(ui().tvwWM), c.folderList);
    EXPECT_EQ(entryNames(ui().tvwSearch), c.searchList);
    EXPECT_EQ(entryNames(ui().tvwFavs), c.favourites);
    EXPECT_EQ(window().m_colFavs, c.colFavs);
    EXPECT_EQ(favouriteNodeTags(), window().m_colFavs);
    EXPECT_EQ(ui().lblTName->caption(), c.folderCaption);
    EXPECT_TRUE(window().m_strCurrentWID.isEmpty());
    expectPanelCleared();
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, DeleteSitePin,
    ::testing::Values(SitePinCase{"index_by_menu", 0, Trigger::Menu, {"Intranet", "Wiki"}, {}, {}, {}, "Work"},
                      SitePinCase{"index_by_key", 0, Trigger::Key, {"Intranet", "Wiki"}, {}, {}, {}, "Work"},
                      SitePinCase{"search_by_toolbar",
                                  1,
                                  Trigger::Toolbar,
                                  {},
                                  {"Intranet", "Wiki", "Tracker", "Old", "Bank", "News"},
                                  {},
                                  {},
                                  "No folder selected"},
                      SitePinCase{"favourites_by_menu",
                                  2,
                                  Trigger::Menu,
                                  {},
                                  {},
                                  {"Bank", "Intranet", "Old", "Tracker"},
                                  {"W1", "W4", "W5", "W6"},
                                  "No folder selected"}),
    [](const auto &info) { return std::string(info.param.label); });

// The keyboard moves the selection without showing the entry; the deleted
// SitePin's entry used to stay listed then.
TEST_F(DeleteTest, theDeletedEntryGoesEvenWhenTheKeyboardMovedTheSelection)
{
    startWith(library());
    clickFolder("Work");
    clickSitePin("Intranet");
    QTest::keyClick(ui().tvwWM, Qt::Key_Down);
    ASSERT_EQ(selectedEntryName(ui().tvwWM), "Mail");
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteSitePin(Trigger::Menu);
    expectQuestion("Are you sure you wish to delete Intranet?", "Delete SitePin?");
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Mail", "Wiki"}));
    EXPECT_FALSE(inLibrary(reopenLibrary()->getTheDOM(), "W1"));
}

TEST_F(DeleteTest, aFolderGoesWithEverythingBelowItInOneSave)
{
    startWith(library());
    search(AddressOnly, "example");
    window().selectLeftTab(0);
    clickFolder("Work");
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteFolder(Trigger::Key);

    expectQuestion("Are you sure you wish to delete the folder Work and all its SitePins and sub-folders?",
                   "Delete folder?");
    const XmlDocument onDisk = reopenLibrary()->getTheDOM();
    for (const char *gone : {"T1", "T3", "T4", "W1", "W2", "W3", "W4", "W5"})
        EXPECT_FALSE(inLibrary(onDisk, gone)) << gone;
    for (const char *kept : {"T2", "W6", "W7"})
        EXPECT_TRUE(inLibrary(onDisk, kept)) << kept;
    EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Home"}));
    for (const char *gone : {"Work", "Projects", "Archive"})
        EXPECT_FALSE(folderNode(gone)) << gone;
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
    clickFolder("Only");
    clickSitePin("Lone");
    m_dialogs.answerNext(MessageAnswer::Yes);
    deleteFolder(Trigger::Toolbar);

    EXPECT_TRUE(reopenLibrary()->getTheDOM().documentElement().childElements().empty());
    FolderTree &tree = window().folderTree();
    EXPECT_TRUE(tree.isRoot(tree.selectedNode()));
    EXPECT_EQ(ui().lblTName->caption(), "No folder selected");
    EXPECT_EQ(ui().lblSelectedTopic->text(), "No folder");
    EXPECT_TRUE(entryNames(ui().tvwWM).isEmpty());
    EXPECT_FALSE(isEnabled("mnuEditDeleteTopic"));
    EXPECT_FALSE(isButtonEnabled(14));
    expectPanelCleared();
}

struct NoCase
{
    const char *label;
    bool folder;
};

class AnswerNo : public DeleteTest, public ::testing::WithParamInterface<NoCase>
{
};

TEST_P(AnswerNo, changesNothingAndTheNameShowsAsTyped)
{
    const QString name = QStringLiteral("Say \"hi\"? It's 'odd'??");
    using L = LibraryText;
    startWith(L::folder(1, name, L::sitePin(1, name, "http://odd.example", {}, "TRUE")) + L::folder(2, "Other"));
    clickFolder(name);
    clickSitePin(name);
    const QByteArray before = fileBytes();
    m_dialogs.answerNext(MessageAnswer::No);
    if (GetParam().folder) {
        deleteFolder(Trigger::Menu);
        expectQuestion("Are you sure you wish to delete the folder " + name + " and all its SitePins and sub-folders?",
                       "Delete folder?");
    } else {
        deleteSitePin(Trigger::Menu);
        expectQuestion("Are you sure you wish to delete " + name + "?", "Delete SitePin?");
    }
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Other", name}));
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({name}));
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({name}));
    EXPECT_EQ(window().m_colFavs, QStringList({"W1"}));
    EXPECT_EQ(ui().lblWName->caption(), name);
}

INSTANTIATE_TEST_SUITE_P(Commands, AnswerNo, ::testing::Values(NoCase{"sitepin", false}, NoCase{"folder", true}),
                         [](const auto &info) { return std::string(info.param.label); });

// A search hit names its own folder above the panel while the tree keeps
// another one selected; the question used to name the first and delete the
// second.
TEST_F(DeleteTest, theQuestionNamesTheFolderThatWouldGo)
{
    startWith(library());
    clickFolder("Home");
    search(NameOnly, "Tracker");
    clickEntry(ui().tvwSearch, "Tracker");
    ASSERT_EQ(ui().lblTName->caption(), "Projects");
    const QByteArray before = fileBytes();
    m_dialogs.answerNext(MessageAnswer::No);
    deleteFolder(Trigger::Menu);
    expectQuestion("Are you sure you wish to delete the folder Home and all its SitePins and sub-folders?",
                   "Delete folder?");
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(DeleteTest, theRootIsNoFolderToDelete)
{
    startWith(library());
    search(NameOnly, "Tracker");
    clickEntry(ui().tvwSearch, "Tracker");
    ASSERT_TRUE(isEnabled("mnuEditDeleteTopic")) << "a folder is named above the panel";
    ASSERT_TRUE(window().folderTree().isRoot(window().folderTree().selectedNode()));
    const QByteArray before = fileBytes();
    deleteFolder(Trigger::Menu);
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_EQ(m_dialogs.shown().front().request.text, "A folder must be selected to delete");
    EXPECT_EQ(m_dialogs.shown().front().request.title, "SitePins Manager");
    EXPECT_EQ(m_dialogs.shown().front().request.buttons, MessageButtons::Ok);
    EXPECT_EQ(fileBytes(), before);
}

} // namespace
