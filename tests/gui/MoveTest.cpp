#include "FindingFixture.h"
#include "ModalDialog.h"
#include "editing/FolderTreeDragDrop.h"
#include "editing/MoveCommands.h"
#include "mainwindow/TreeNode.h"
#include "store/LibraryLimits.h"

#include <QDialog>
#include <QDrag>
#include <QMenu>
#include <QMimeData>

namespace {

// Work holds Projects > Archive > Attic, and Zeta after Projects. Inside
// Zeta a folder without an identifier holds Inner.
QString library()
{
    using L = LibraryText;
    const QString untagged =
        "<FOLDER><NAME>Untagged</NAME><SITEPINS/><SUBFOLDERS>" + L::folder(9, "Inner") + "</SUBFOLDERS></FOLDER>";
    return L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example") + L::sitePin(2, "Wiki"),
                     L::folder(3, "Projects", L::sitePin(3, "Tracker"),
                               L::folder(4, "Archive", L::sitePin(4, "Old"), L::folder(5, "Attic"))) +
                         L::folder(6, "Zeta", {}, untagged)) +
           L::folder(2, "Home", L::sitePin(5, "Bank"));
}

bool isLastIn(const XmlDocument &dom, const QString &id)
{
    const XmlNode element = dom.nodeFromID(id);
    return element.parentNode().childElements().back() == element;
}

QPushButton *saveButton(QDialog &dialog)
{
    return dialog.findChild<QPushButton *>("cmdSave");
}

class MoveTest : public FindingFixture
{
protected:
    void startWith(const QString &body = library()) { MainWindowFixture::startWith(body); }
    FolderTreeDragDrop &dragDrop() { return window().moveCommands().dragDrop(); }
    QTreeWidgetItem *nodeTagged(const QString &tag) { return window().folderTree().findNodeByTag(tag); }

    void dragFolder(const QString &tid, const QString &targetTag)
    {
        window().folderTree().selectNode(nodeTagged(tid));
        ASSERT_TRUE(dragDrop().startFolderDrag());
        dragDrop().dropOnFolder(nodeTagged(targetTag));
    }

    // A press on `from`, then a move far enough to start a drag.
    static void pressAndMove(QWidget *viewport, const QPoint &from, const QPoint &by)
    {
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, from + by, viewport->mapToGlobal(from + by), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
};

enum class Way
{
    Dialog,
    Drag
};

struct FolderCase
{
    const char *label;
    const char *tid;
    const char *name;
    const char *targetTag; // empty: the root
    const char *newParent; // nullptr: refused with the message; "": nothing happens
};

class MoveFolder : public MoveTest, public ::testing::WithParamInterface<std::tuple<Way, FolderCase>>
{
};

TEST_P(MoveFolder, reparentsTheFolderWithItsContentOrRefuses)
{
    const auto &[way, c] = GetParam();
    startWith();
    clickFolder(c.name);
    const QByteArray before = fileBytes();
    const bool moves = c.newParent && *c.newParent;
    if (way == Way::Drag) {
        dragFolder(c.tid, c.targetTag);
    } else {
        ASSERT_TRUE(withModalDialog([this] { QTest::mouseClick(ui().cmdMoveFolder, Qt::LeftButton); },
                                    [&](QDialog &dialog) {
                                        EXPECT_EQ(dialogLabel(dialog, "lblCurrentFolder"), c.name);
                                        pickInDialog(dialog, c.targetTag);
                                        QTest::mouseClick(saveButton(dialog), Qt::LeftButton);
                                        EXPECT_EQ(dialog.isVisible(), !moves);
                                    }));
    }

    if (!moves) {
        if (c.newParent)
            EXPECT_TRUE(m_dialogs.shown().empty());
        else
            expectOnlyMessage("A folder cannot be moved to its own sub-folder", "SitePins");
        EXPECT_EQ(fileBytes(), before);
        return;
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
    const XmlDocument dom = reopenLibrary()->getTheDOM();
    EXPECT_EQ(parentOf(dom, c.tid), c.newParent);
    EXPECT_TRUE(isLastIn(dom, c.tid));
    EXPECT_EQ(dom.nodeFromID(c.tid).selectSingleNode("NAME").text(), c.name) << "the identifier goes along";
    EXPECT_EQ(parentOf(dom, "W4"), "T4");
    EXPECT_EQ(parentOf(dom, "T5"), "T4");
    QTreeWidgetItem *parent = *c.newParent == 'T' ? nodeTagged(c.newParent) : window().folderTree().rootNode();
    EXPECT_EQ(nodeTagged(c.tid)->parent(), parent);
    parent->setExpanded(true);
    QStringList sorted = childNames(parent);
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(childNames(parent), sorted) << "the node takes its sorted place";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoveFolder,
    ::testing::Combine(::testing::Values(Way::Dialog, Way::Drag),
                       ::testing::Values(FolderCase{"onto_own_grandchild", "T1", "Work", "T4", nullptr},
                                         // The tree's walk up ends early at the untagged folder; the
                                         // document still refuses to hold the folder inside itself.
                                         FolderCase{"onto_a_sub_folder_below_an_untagged_one", "T1", "Work", "T9",
                                                    nullptr},
                                         FolderCase{"onto_the_root", "T3", "Projects", "", "FOLDERS"},
                                         FolderCase{"onto_its_parent", "T3", "Projects", "T1", "T1"},
                                         FolderCase{"onto_another_folder", "T4", "Archive", "T2", "T2"},
                                         FolderCase{"onto_itself", "T3", "Projects", "T3", ""})),
    [](const auto &info) {
        return std::string(std::get<0>(info.param) == Way::Drag ? "drag_" : "dialog_") + std::get<1>(info.param).label;
    });

TEST_F(MoveTest, aFolderMovedWithItsParentKeepsItsPlaceInTheStatusBar)
{
    startWith();
    clickFolder("Archive");
    dragFolder("T3", "T2");
    EXPECT_EQ(statusPath(), " -> Home -> Projects -> Archive");
    EXPECT_EQ(window().folderTree().selectedNode()->text(0), "Archive");
    EXPECT_EQ(ui().lblTName->caption(), "Archive");
}

class MoveSitePinByDialog : public MoveTest, public ::testing::WithParamInterface<bool>
{
};

// With the keyboard, Intranet stays shown while Wiki is selected in the list.
TEST_P(MoveSitePinByDialog, listsItInTheTargetFolderWhichIsSelected)
{
    const bool byKeyboard = GetParam();
    startWith();
    showSitePin("Work", byKeyboard ? "Intranet" : "Wiki");
    if (byKeyboard)
        QTest::keyClick(ui().tvwWM, Qt::Key_Down);
    ASSERT_TRUE(withModalDialog([this] { QTest::mouseClick(ui().cmdMoveSP, Qt::LeftButton); },
                                [](QDialog &dialog) {
                                    EXPECT_EQ(dialogLabel(dialog, "lblWMName"), "Wiki");
                                    EXPECT_EQ(dialogLabel(dialog, "lblCurrentTopic"), "Work");
                                    EXPECT_FALSE(saveButton(dialog)->isEnabled());
                                    pickInDialog(dialog, "T2");
                                    QTest::mouseClick(saveButton(dialog), Qt::LeftButton);
                                    EXPECT_FALSE(dialog.isVisible());
                                }));

    const XmlDocument dom = reopenLibrary()->getTheDOM();
    EXPECT_EQ(parentOf(dom, "W2"), "T2");
    EXPECT_TRUE(isLastIn(dom, "W2"));
    EXPECT_EQ(window().folderTree().selectedNode(), folderNode("Home"));
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Bank", "Wiki"}));
    EXPECT_EQ(ui().txtTID->text(), "T2");
    EXPECT_EQ(ui().lblTName->caption(), "Home");
    EXPECT_EQ(ui().lblSelectedTopic->text(), "Home");
    EXPECT_EQ(ui().lblWName->caption(), byKeyboard ? "No SitePin selected" : "Wiki");
    EXPECT_EQ(statusPath(), " -> Home");
}

INSTANTIATE_TEST_SUITE_P(Selection, MoveSitePinByDialog, ::testing::Bool(),
                         [](const auto &info) { return std::string(info.param ? "keyboard" : "shown"); });

TEST_F(MoveTest, dialogsEnableSaveOnlyForAValidTarget)
{
    using L = LibraryText;
    startWith(L::folder(1, "Work", L::sitePin(1, "Wiki")) + L::folder(2, "Home", {}, L::folder(7, "FOLDERS")));
    showSitePin("Work", "Wiki");
    const QByteArray before = fileBytes();
    struct Case
    {
        bool folderDialog;
        const char *tag;
        const char *caption; // "" leaves Save disabled
    };
    for (const Case c :
         {Case{false, "T1", "Work"}, Case{false, "", ""}, Case{false, "T7", ""}, Case{true, "", "FOLDERS"}}) {
        QPushButton *button = c.folderDialog ? ui().cmdMoveFolder : ui().cmdMoveSP;
        ASSERT_TRUE(withModalDialog([button] { QTest::mouseClick(button, Qt::LeftButton); },
                                    [c](QDialog &dialog) {
                                        pickInDialog(dialog, "T2");
                                        pickInDialog(dialog, c.tag);
                                        const bool valid = *c.caption;
                                        EXPECT_EQ(dialogLabel(dialog, c.folderDialog ? "lblNewFolder" : "lblNewTopic"),
                                                  c.caption);
                                        EXPECT_EQ(saveButton(dialog)->isEnabled(), valid) << c.tag;
                                        EXPECT_EQ(saveButton(dialog)->isDefault(), valid) << c.tag;
                                        QTest::mouseClick(dialog.findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
                                        EXPECT_FALSE(dialog.isVisible());
                                    }));
    }
    EXPECT_EQ(fileBytes(), before);
}

// A search hit is shown and named above the panel, while the Index tab has
// no entry selected and only the root in the tree.
TEST_F(MoveTest, moveButtonsSayNothingIsSelectedAndOpenNoDialogOnTheIndexTab)
{
    startWith();
    search(NameOnly, "Tracker");
    clickEntry(ui().tvwSearch, "Tracker");
    for (QPushButton *button : {ui().cmdMoveSP, ui().cmdMoveFolder}) {
        window().selectLeftTab(1);
        EXPECT_FALSE(withModalDialog([button] { button->click(); }, [](QDialog &) {})) << "the Search tab";
        EXPECT_TRUE(m_dialogs.shown().empty());

        window().selectLeftTab(0);
        ASSERT_TRUE(button->isEnabled());
        EXPECT_FALSE(withModalDialog([button] { button->click(); }, [](QDialog &) {}));
        expectOnlyMessage(button == ui().cmdMoveFolder ? "No folder has been selected to move"
                                                       : "No SitePin has been selected to move",
                          "SitePins Manager");
        m_dialogs.forget();
    }
}

TEST_F(MoveTest, aSitePinDroppedLeavesTheSourceFolderListedWithoutIt)
{
    for (const auto &[targetTag, moves] : {std::pair{"", false}, std::pair{"T5", true}, std::pair{"T2", true}}) {
        startWith();
        showSitePin("Work", "Wiki");
        const QByteArray before = fileBytes();
        ASSERT_TRUE(dragDrop().startSitePinDrag());
        dragDrop().dropOnFolder(nodeTagged(targetTag));

        EXPECT_TRUE(m_dialogs.shown().empty());
        EXPECT_EQ(ui().lblTName->caption(), "Work");
        if (!moves) {
            EXPECT_EQ(fileBytes(), before) << "the root holds no SitePins";
            EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Intranet", "Wiki"}));
            continue;
        }
        EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "W2"), targetTag);
        EXPECT_EQ(window().folderTree().selectedNode(), folderNode("Work"));
        EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Intranet"}));
        EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");
    }
}

TEST_F(MoveTest, dragWhileCreatingOrModifyingIsIgnoredEntirely)
{
    for (const char *command : {"mnuAddSitePin", "mnuEditModify"}) {
        startWith();
        showSitePin("Work", "Wiki");
        ASSERT_TRUE(dragDrop().startSitePinDrag());
        runMenu(command);
        ASSERT_FALSE(ui().txtMode->text().isEmpty());
        const QByteArray before = fileBytes();

        dragDrop().dropOnFolder(folderNode("Home"));
        EXPECT_FALSE(dragDrop().startSitePinDrag());
        window().folderTree().selectNode(folderNode("Work"));
        EXPECT_FALSE(dragDrop().startFolderDrag());
        EXPECT_TRUE(dragDrop().dragKind().isEmpty());
        bool started = false;
        dragDrop().setDragRunner([&](QDrag &) { started = true; });
        QWidget *viewport = ui().tvwWM->viewport();
        pressAndMove(viewport, ui().tvwWM->visualRect(entry(ui().tvwWM, "Intranet")).center(), QPoint(0, 40));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(3, viewport->height() - 3));
        EXPECT_FALSE(started) << command;
        EXPECT_EQ(fileBytes(), before) << command;
    }
}

// The platform's drag loop replaced by the events it would deliver.
TEST_F(MoveTest, theMouseStartsTheDragAndTheDropLandsOnTheNodeUnderThePointer)
{
    startWith();
    showSitePin("Work", "Wiki");
    QWidget *target = ui().tvwTopics->viewport();
    const QPoint home = ui().tvwTopics->visualItemRect(folderNode("Home")).center();
    QTreeWidgetItem *highlighted = nullptr;
    dragDrop().setDragRunner([&](QDrag &drag) {
        QDragEnterEvent enter(QPoint(1, target->height() - 1), Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent over(home, Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &over);
        EXPECT_TRUE(over.isAccepted());
        highlighted = dragDrop().dropHighlight();
        QDropEvent drop(home, Qt::MoveAction, drag.mimeData(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
        EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "W2"), "T1") << "nothing moves inside the drag loop";
    });
    pressAndMove(ui().tvwWM->viewport(), ui().tvwWM->visualRect(entry(ui().tvwWM, "Wiki")).center(), QPoint(0, 30));

    EXPECT_EQ(highlighted, folderNode("Home"));
    EXPECT_FALSE(dragDrop().dropHighlight());
    EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "W2"), "T2");
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Intranet"}));
}

// The release after a drag (handed back by some platforms, or the one after
// a drag cancelled with Escape) used to count as a click on the selected
// folder: a rename.
TEST_F(MoveTest, aPressThatBecomesADragStartsNoRenameButAClickStillDoes)
{
    startWith();
    clickFolder("Work");
    int drags = 0;
    dragDrop().setDragRunner([&](QDrag &) { ++drags; });
    QWidget *viewport = ui().tvwTopics->viewport();
    const QPoint work = ui().tvwTopics->visualItemRect(folderNode("Work")).center();
    pressAndMove(viewport, work, QPoint(30, 0));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, work);
    ASSERT_EQ(drags, 1);
    QTest::qWait(QApplication::doubleClickInterval() + 150);
    EXPECT_FALSE(viewport->findChild<QLineEdit *>()) << "a drag renamed the folder";

    clickFolder("Work");
    EXPECT_TRUE(QTest::qWaitFor([viewport] { return viewport->findChild<QLineEdit *>(); }, 3000));
}

TEST_F(MoveTest, theListOffersTheMenuAndTheAddressOfTheEntryUnderThePointer)
{
    startWith();
    clickFolder("Work");
    QWidget *list = ui().tvwWM->viewport();
    const QPoint intranet = ui().tvwWM->visualRect(entry(ui().tvwWM, "Intranet")).center();
    movePointer(list, intranet);
    EXPECT_TRUE(ui().Splitter1->toolTip().contains("http://intranet.example"));
    movePointer(ui().tvwTopics->viewport(), QPoint(5, 5));
    EXPECT_EQ(ui().Splitter1->toolTip(), "");

    QMenu *popup = ui().commands->popupMenu();
    const auto closePopup = qScopeGuard([popup] { popup->hide(); });
    QTest::mouseClick(list, Qt::RightButton, {}, intranet);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(selectedEntryName(ui().tvwWM), "Intranet");
    EXPECT_EQ(window().m_objClickedNode.data(TreeNode::TagRole).toString(), "W1");
}

// The drag recorded an element of the library File > Open replaced, whose
// identifiers the new library may well use for something else.
TEST_F(MoveTest, aDragStartedBeforeOpeningAnotherLibraryDropsNothing)
{
    for (const bool folder : {false, true}) {
        startWith();
        showSitePin("Projects", "Tracker");
        ASSERT_TRUE(folder ? dragDrop().startFolderDrag() : dragDrop().startSitePinDrag());
        const QString other = programFolder() + "/Other.xml";
        ASSERT_TRUE(LibraryText::writeFile(other, LibraryText::document(library())));
        m_dialogs.chooseFileNext(other);
        runMenu("mnuFileOpen");
        ASSERT_EQ(window().m_strLibraryPath, other);
        const QByteArray before = LibraryText::readFile(other);

        dragDrop().dropOnFolder(folder ? window().folderTree().rootNode() : folderNode("Home"));
        EXPECT_EQ(LibraryText::readFile(other), before) << folder;
        EXPECT_TRUE(m_dialogs.shown().empty());
    }
}

TEST_F(MoveTest, refusesNestingTheLibraryCouldNotOpenAgain)
{
    using L = LibraryText;
    // Whether Loose has a sub-folder, the level it is dropped on, and whether it moves.
    for (const auto &[withChild, level, moves] :
         {std::tuple{false, 99, true}, {false, 100, false}, {true, 99, false}}) {
        startWith(L::nestedFolders(LibraryLimits::kMaxFolderDepth) +
                  L::folder(200, "Loose", {}, withChild ? L::folder(201, "Child") : QString()));
        const QByteArray before = fileBytes();
        const QString target = QStringLiteral("T%1").arg(level);
        dragFolder("T200", target);
        if (moves) {
            EXPECT_TRUE(m_dialogs.shown().empty());
            EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "T200"), target);
        } else {
            expectOnlyMessage("The folder cannot be moved there: folders can be nested at most 100 levels deep.",
                              "SitePins", MessageButtons::Ok, MessageIcon::Exclamation);
            EXPECT_EQ(fileBytes(), before);
        }
    }
}

} // namespace
