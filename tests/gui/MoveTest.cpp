#include "FindingFixture.h"
#include "editing/FolderTreeDragDrop.h"
#include "editing/MoveCommands.h"
#include "editing/TopicListTree.h"
#include "layout/CommandSurface.h"
#include "layout/SplitterWidget.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/TreeNode.h"
#include "platform/StateField.h"
#include "store/LibraryLimits.h"
#include "store/XMLDatabase.h"

#include <QDialog>
#include <QDrag>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

#include <functional>

namespace {

// Work holds Projects > Archive > Attic, and Zeta after Projects.
QString library()
{
    using L = LibraryText;
    return L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example") + L::sitePin(2, "Wiki"),
                     L::folder(3, "Projects", L::sitePin(3, "Tracker"),
                               L::folder(4, "Archive", L::sitePin(4, "Old"), L::folder(5, "Attic"))) +
                         L::folder(6, "Zeta")) +
           L::folder(2, "Home", L::sitePin(5, "Bank"));
}

// The identifier of the folder an element sits in, "FOLDERS" at the top.
QString parentOf(const XmlDocument &dom, const QString &id)
{
    const XmlNode collection = dom.nodeFromID(id).parentNode();
    return collection.nodeName() == "FOLDERS" ? "FOLDERS" : collection.parentNode().getAttribute("TID");
}

bool isLastIn(const XmlDocument &dom, const QString &id)
{
    const XmlNode element = dom.nodeFromID(id);
    return element.parentNode().childElements().back() == element;
}

class MoveTest : public FindingFixture
{
protected:
    FolderTreeDragDrop &dragDrop() { return window().moveCommands().dragDrop(); }
    QTreeWidgetItem *nodeTagged(const QString &tag) { return window().folderTree().findNodeByTag(tag); }

    // Runs `act` on the modal dialog that `open` brings up; false when none
    // came. A dialog still open afterwards is cancelled.
    bool withDialog(const std::function<void()> &open, const std::function<void(QDialog &)> &act)
    {
        bool ran = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            ran = true;
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll.start();
        open();
        return ran;
    }

    static QString text(QDialog &dialog, const char *name)
    {
        auto *label = dialog.findChild<QLabel *>(QString::fromLatin1(name));
        EXPECT_TRUE(label) << name;
        return label ? label->text() : QString();
    }

    static QPushButton *saveButton(QDialog &dialog) { return dialog.findChild<QPushButton *>("cmdSave"); }

    static void pick(QDialog &dialog, const QString &tag)
    {
        auto *tree = dialog.findChild<TopicListTree *>("tvwTopicList");
        QTreeWidgetItem *node = tree->findNodeByTag(tag);
        ASSERT_TRUE(node) << tag.toStdString();
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    }

    void expectOnlyMessage(const QString &text, const char *title, MessageIcon icon = MessageIcon::None)
    {
        ASSERT_EQ(m_dialogs.shown().size(), 1u) << m_dialogs.lastText().toStdString();
        const MessageRequest &shown = m_dialogs.shown().front().request;
        EXPECT_EQ(shown.text, text);
        EXPECT_EQ(shown.title, title);
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        EXPECT_EQ(shown.icon, icon);
    }

    void dragFolder(const QString &tid, const QString &targetTag)
    {
        window().folderTree().selectNode(nodeTagged(tid));
        ASSERT_TRUE(dragDrop().startFolderDrag());
        dragDrop().dropOnFolder(nodeTagged(targetTag));
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
    writeLibraryBody(library());
    start();
    clickFolder(c.name);
    const QByteArray before = fileBytes();
    if (way == Way::Drag) {
        dragFolder(c.tid, c.targetTag);
    } else {
        ASSERT_TRUE(withDialog([this] { QTest::mouseClick(ui().cmdMoveFolder, Qt::LeftButton); },
                               [&](QDialog &dialog) {
                                   EXPECT_EQ(text(dialog, "lblCurrentFolder"), c.name);
                                   pick(dialog, c.targetTag);
                                   QTest::mouseClick(saveButton(dialog), Qt::LeftButton);
                                   EXPECT_EQ(dialog.isVisible(), !c.newParent || !*c.newParent);
                               }));
    }

    if (!c.newParent || !*c.newParent) {
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
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MoveFolder,
    ::testing::Combine(::testing::Values(Way::Dialog, Way::Drag),
                       ::testing::Values(FolderCase{"onto_own_grandchild", "T1", "Work", "T4", nullptr},
                                         FolderCase{"onto_the_root", "T3", "Projects", "", "FOLDERS"},
                                         FolderCase{"onto_its_parent", "T3", "Projects", "T1", "T1"},
                                         FolderCase{"onto_another_folder", "T4", "Archive", "T2", "T2"},
                                         FolderCase{"onto_itself", "T3", "Projects", "T3", ""})),
    [](const auto &info) {
        return std::string(std::get<0>(info.param) == Way::Drag ? "drag_" : "dialog_") + std::get<1>(info.param).label;
    });

TEST_F(MoveTest, aFolderMovedOntoItsParentKeepsItsSortedPlace)
{
    writeLibraryBody(library());
    start();
    dragFolder("T3", "T1");
    QTreeWidgetItem *work = folderNode("Work");
    work->setExpanded(true);
    EXPECT_EQ(childNames(work), QStringList({"Projects", "Zeta"}));
}

struct PathCase
{
    const char *label;
    const char *current;
    const char *tid;
    const char *targetTag;
    const char *path;
};

class StatusPathAfterDrop : public MoveTest, public ::testing::WithParamInterface<PathCase>
{
};

TEST_P(StatusPathAfterDrop, showsTheCurrentFoldersNewPathAndKeepsItSelected)
{
    writeLibraryBody(library());
    start();
    clickFolder(GetParam().current);
    dragFolder(GetParam().tid, GetParam().targetTag);
    EXPECT_EQ(statusPath(), GetParam().path);
    EXPECT_EQ(window().folderTree().selectedNode()->text(0), GetParam().current);
    EXPECT_EQ(ui().lblTName->caption(), GetParam().current);
}

INSTANTIATE_TEST_SUITE_P(Cases, StatusPathAfterDrop,
                         ::testing::Values(PathCase{"moved_itself", "Projects", "T3", "", " -> Projects"},
                                           PathCase{"moved_with_its_parent", "Archive", "T3", "T2",
                                                    " -> Home -> Projects -> Archive"}),
                         [](const auto &info) { return std::string(info.param.label); });

struct SitePinDialogCase
{
    const char *label;
    bool selectWithKeyboard; // Intranet shown, Wiki selected in the list
    const char *shownAfter;
};

class MoveSitePinByDialog : public MoveTest, public ::testing::WithParamInterface<SitePinDialogCase>
{
};

TEST_P(MoveSitePinByDialog, listsItInTheTargetFolderWhichIsSelected)
{
    writeLibraryBody(library());
    start();
    clickFolder("Work");
    clickSitePin(GetParam().selectWithKeyboard ? "Intranet" : "Wiki");
    if (GetParam().selectWithKeyboard)
        QTest::keyClick(ui().tvwWM, Qt::Key_Down);
    ASSERT_TRUE(withDialog([this] { QTest::mouseClick(ui().cmdMoveSP, Qt::LeftButton); },
                           [](QDialog &dialog) {
                               EXPECT_EQ(dialog.windowTitle(), "Move SitePin");
                               EXPECT_EQ(text(dialog, "lblWMName"), "Wiki");
                               EXPECT_EQ(text(dialog, "lblCurrentTopic"), "Work");
                               EXPECT_EQ(text(dialog, "lblNewTopic"), "");
                               EXPECT_FALSE(saveButton(dialog)->isEnabled());
                               pick(dialog, "T2");
                               QTest::mouseClick(saveButton(dialog), Qt::LeftButton);
                               EXPECT_FALSE(dialog.isVisible());
                           }));

    const XmlDocument dom = reopenLibrary()->getTheDOM();
    EXPECT_EQ(parentOf(dom, "W2"), "T2");
    EXPECT_TRUE(isLastIn(dom, "W2"));
    EXPECT_EQ(dom.nodeFromID("W2").selectSingleNode("NAME").text(), "Wiki");
    EXPECT_EQ(window().folderTree().selectedNode(), folderNode("Home"));
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Bank", "Wiki"}));
    EXPECT_EQ(ui().txtTID->text(), "T2");
    EXPECT_EQ(ui().lblTName->caption(), "Home");
    EXPECT_EQ(ui().lblSelectedTopic->text(), "Home");
    EXPECT_EQ(ui().lblWName->caption(), GetParam().shownAfter);
    EXPECT_EQ(statusPath(), " -> Home");
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveSitePinByDialog,
                         ::testing::Values(SitePinDialogCase{"the_shown_sitepin", false, "Wiki"},
                                           SitePinDialogCase{"another_than_shown", true, "No SitePin selected"}),
                         [](const auto &info) { return std::string(info.param.label); });

struct TargetCase
{
    const char *label;
    bool folderDialog;
    const char *tag;
    const char *caption; // "" leaves Save disabled
};

class TargetChoice : public MoveTest, public ::testing::WithParamInterface<TargetCase>
{
};

TEST_P(TargetChoice, enablesSaveOnlyForAValidTarget)
{
    using L = LibraryText;
    writeLibraryBody(L::folder(1, "Work", L::sitePin(1, "Wiki")) + L::folder(2, "Home", {}, L::folder(7, "FOLDERS")));
    start();
    clickFolder("Work");
    clickSitePin("Wiki");
    QPushButton *button = GetParam().folderDialog ? ui().cmdMoveFolder : ui().cmdMoveSP;
    const QByteArray before = fileBytes();
    ASSERT_TRUE(withDialog([button] { QTest::mouseClick(button, Qt::LeftButton); },
                           [](QDialog &dialog) {
                               pick(dialog, "T2");
                               pick(dialog, GetParam().tag);
                               const bool valid = *GetParam().caption;
                               EXPECT_EQ(text(dialog, GetParam().folderDialog ? "lblNewFolder" : "lblNewTopic"),
                                         GetParam().caption);
                               EXPECT_EQ(saveButton(dialog)->isEnabled(), valid);
                               EXPECT_EQ(saveButton(dialog)->isDefault(), valid);
                               QTest::mouseClick(dialog.findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
                               EXPECT_FALSE(dialog.isVisible());
                           }));
    EXPECT_EQ(fileBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, TargetChoice,
                         ::testing::Values(TargetCase{"sitepin_to_a_folder", false, "T1", "Work"},
                                           TargetCase{"sitepin_to_the_root", false, "", ""},
                                           TargetCase{"sitepin_to_a_folder_named_FOLDERS", false, "T7", ""},
                                           TargetCase{"folder_to_the_root", true, "", "FOLDERS"}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(MoveTest, dialogsShowTheirFixedTexts)
{
    writeLibraryBody(library());
    start();
    clickFolder("Work");
    clickSitePin("Wiki");
    withDialog([this] { QTest::mouseClick(ui().cmdMoveSP, Qt::LeftButton); },
               [](QDialog &dialog) {
                   EXPECT_EQ(text(dialog, "lblInstruction"),
                             "Choose a folder to move the currently selected SitePin to (you can also do this by "
                             "dragging and dropping a SitePin into a folder in the Index view):");
                   EXPECT_EQ(text(dialog, "lblWMNameCaption") + text(dialog, "lblCurrentTopicCaption") +
                                 text(dialog, "lblNewTopicCaption"),
                             "Move:from:to:");
               });
    withDialog([this] { QTest::mouseClick(ui().cmdMoveFolder, Qt::LeftButton); },
               [](QDialog &dialog) {
                   EXPECT_EQ(dialog.windowTitle(), "Move folder");
                   EXPECT_EQ(text(dialog, "lblInstruction"),
                             "Choose a location to move the currently selected folder to (you can also do this by "
                             "dragging and dropping folders in the Index view):");
                   EXPECT_EQ(text(dialog, "lblCurrentFolderCaption") + text(dialog, "lblNewFolderCaption"), "Move:to:");
                   EXPECT_FALSE(saveButton(dialog)->isEnabled());
               });
}

class MoveButtons : public MoveTest, public ::testing::WithParamInterface<bool>
{
protected:
    QPushButton *button() { return GetParam() ? ui().cmdMoveFolder : ui().cmdMoveSP; }
};

// A search hit is shown and named above the panel, while the Index tab has
// no entry selected and only the root in the tree.
TEST_P(MoveButtons, sayNothingIsSelectedAndOpenNoDialogOnTheIndexTab)
{
    writeLibraryBody(library());
    start();
    search(NameOnly, "Tracker");
    clickEntry(ui().tvwSearch, "Tracker");
    EXPECT_FALSE(withDialog([this] { button()->click(); }, [](QDialog &) {})) << "the Search tab";
    EXPECT_TRUE(m_dialogs.shown().empty());

    window().selectLeftTab(0);
    ASSERT_TRUE(button()->isEnabled());
    EXPECT_FALSE(withDialog([this] { button()->click(); }, [](QDialog &) {}));
    expectOnlyMessage(GetParam() ? "No folder has been selected to move" : "No SitePin has been selected to move",
                      "SitePins Manager");
}

INSTANTIATE_TEST_SUITE_P(Buttons, MoveButtons, ::testing::Bool(),
                         [](const auto &info) { return std::string(info.param ? "folder" : "sitepin"); });

struct SitePinDropCase
{
    const char *label;
    const char *targetTag;
    bool moves;
};

class DropSitePin : public MoveTest, public ::testing::WithParamInterface<SitePinDropCase>
{
};

TEST_P(DropSitePin, leavesTheSourceFolderListedWithoutIt)
{
    writeLibraryBody(library());
    start();
    clickFolder("Work");
    clickSitePin("Wiki");
    const QByteArray before = fileBytes();
    ASSERT_TRUE(dragDrop().startSitePinDrag());
    dragDrop().dropOnFolder(nodeTagged(GetParam().targetTag));

    EXPECT_TRUE(m_dialogs.shown().empty());
    if (!GetParam().moves) {
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Intranet", "Wiki"}));
        return;
    }
    EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "W2"), GetParam().targetTag);
    EXPECT_EQ(window().folderTree().selectedNode(), folderNode("Work"));
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Intranet"}));
    EXPECT_EQ(ui().lblTName->caption(), "Work");
    EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");
}

INSTANTIATE_TEST_SUITE_P(Cases, DropSitePin,
                         ::testing::Values(SitePinDropCase{"on_a_folder", "T2", true},
                                           SitePinDropCase{"on_a_sub_folder", "T5", true},
                                           SitePinDropCase{"on_the_root", "", false}),
                         [](const auto &info) { return std::string(info.param.label); });

class DragWhileEditing : public MoveTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(DragWhileEditing, isIgnoredEntirely)
{
    writeLibraryBody(library());
    start();
    clickFolder("Work");
    clickSitePin("Wiki");
    ASSERT_TRUE(dragDrop().startSitePinDrag());
    runMenu(QString::fromLatin1(GetParam()));
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
    const QPoint from = ui().tvwWM->visualItemRect(entry(ui().tvwWM, "Intranet")).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, from + QPoint(0, 40), viewport->mapToGlobal(from + QPoint(0, 40)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(3, viewport->height() - 3));
    EXPECT_FALSE(started);
    EXPECT_EQ(fileBytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Modes, DragWhileEditing, ::testing::Values("mnuAddSitePin", "mnuEditModify"),
                         [](const auto &info) { return std::string(info.param); });

// The platform's drag loop replaced by the events it would deliver.
TEST_F(MoveTest, theMouseStartsTheDragAndTheDropLandsOnTheNodeUnderThePointer)
{
    writeLibraryBody(library());
    start();
    clickFolder("Work");
    clickSitePin("Wiki");
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
    QWidget *source = ui().tvwWM->viewport();
    const QPoint from = ui().tvwWM->visualItemRect(entry(ui().tvwWM, "Wiki")).center();
    QTest::mousePress(source, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, from + QPoint(0, 30), source->mapToGlobal(from + QPoint(0, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(source, &move);

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
    writeLibraryBody(library());
    start();
    clickFolder("Work");
    int drags = 0;
    dragDrop().setDragRunner([&](QDrag &) { ++drags; });
    QWidget *viewport = ui().tvwTopics->viewport();
    const QPoint work = ui().tvwTopics->visualItemRect(folderNode("Work")).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, work);
    QMouseEvent move(QEvent::MouseMove, work + QPoint(30, 0), viewport->mapToGlobal(work + QPoint(30, 0)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, work);
    ASSERT_EQ(drags, 1);
    QTest::qWait(QApplication::doubleClickInterval() + 150);
    EXPECT_FALSE(viewport->findChild<QLineEdit *>()) << "a drag renamed the folder";

    clickFolder("Work");
    EXPECT_TRUE(QTest::qWaitFor([viewport] { return viewport->findChild<QLineEdit *>(); }, 3000));
}

TEST_F(MoveTest, theListOffersTheMenuAndTheAddressOfTheEntryUnderThePointer)
{
    writeLibraryBody(library());
    start();
    clickFolder("Work");
    QWidget *list = ui().tvwWM->viewport();
    const QPoint intranet = ui().tvwWM->visualItemRect(entry(ui().tvwWM, "Intranet")).center();
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

class StaleDrag : public MoveTest, public ::testing::WithParamInterface<bool>
{
};

// The drag recorded an element of the library File > Open replaced, whose
// identifiers the new library may well use for something else.
TEST_P(StaleDrag, afterOpeningAnotherLibraryDropsNothing)
{
    writeLibraryBody(library());
    start();
    clickFolder("Projects");
    clickSitePin("Tracker");
    ASSERT_TRUE(GetParam() ? dragDrop().startFolderDrag() : dragDrop().startSitePinDrag());
    const QString other = programFolder() + "/Other.xml";
    ASSERT_TRUE(LibraryText::writeFile(other, LibraryText::document(library())));
    m_dialogs.chooseFileNext(other);
    runMenu("mnuFileOpen");
    ASSERT_EQ(window().m_strLibraryPath, other);
    const QByteArray before = LibraryText::readFile(other);

    dragDrop().dropOnFolder(GetParam() ? window().folderTree().rootNode() : folderNode("Home"));
    EXPECT_EQ(LibraryText::readFile(other), before);
    EXPECT_TRUE(m_dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, StaleDrag, ::testing::Bool(),
                         [](const auto &info) { return std::string(info.param ? "folder" : "sitepin"); });

// A folder without an identifier ends the tree's walk up early; the
// document still refuses to hold the folder inside itself.
TEST_F(MoveTest, aCycleHiddenBehindAnUntaggedFolderIsRefused)
{
    writeLibraryBody(LibraryText::folder(1, "Work", {},
                                         "<FOLDER><NAME>Untagged</NAME><SITEPINS/><SUBFOLDERS>" +
                                             LibraryText::folder(9, "Inner") + "</SUBFOLDERS></FOLDER>"));
    start();
    const QByteArray before = fileBytes();
    dragFolder("T1", "T9");
    expectOnlyMessage("A folder cannot be moved to its own sub-folder", "SitePins");
    EXPECT_EQ(fileBytes(), before);
}

struct DepthCase
{
    const char *label;
    bool withChild;
    int targetLevel;
    bool moves;
};

class MoveDepth : public MoveTest, public ::testing::WithParamInterface<DepthCase>
{
};

TEST_P(MoveDepth, refusesNestingTheLibraryCouldNotOpenAgain)
{
    QString chain;
    for (int level = LibraryLimits::kMaxFolderDepth; level >= 1; --level)
        chain = LibraryText::folder(level, QStringLiteral("L%1").arg(level), {}, chain);
    using L = LibraryText;
    writeLibraryBody(chain + L::folder(200, "Loose", {}, GetParam().withChild ? L::folder(201, "Child") : QString()));
    start();
    const QByteArray before = fileBytes();
    dragFolder("T200", QStringLiteral("T%1").arg(GetParam().targetLevel));
    if (GetParam().moves) {
        EXPECT_TRUE(m_dialogs.shown().empty());
        EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "T200"), QStringLiteral("T%1").arg(GetParam().targetLevel));
    } else {
        expectOnlyMessage("The folder cannot be moved there: folders can be nested at most 100 levels deep.",
                          "SitePins", MessageIcon::Exclamation);
        EXPECT_EQ(fileBytes(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveDepth,
                         ::testing::Values(DepthCase{"to_the_deepest_level", false, 99, true},
                                           DepthCase{"one_level_too_deep", false, 100, false},
                                           DepthCase{"its_sub_folder_too_deep", true, 99, false}),
                         [](const auto &info) { return std::string(info.param.label); });

} // namespace
