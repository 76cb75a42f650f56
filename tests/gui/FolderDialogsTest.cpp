#include "LibraryText.h"
#include "MainWindowFixture.h"
#include "editing/TopicListTree.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XMLDatabase.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

// Work holds its sub-folders in document order Zeta, Alpha.
QString sampleLibrary()
{
    return LibraryText::folder(1, "Work", LibraryText::sitePin(1, "Intranet") + LibraryText::sitePin(2, "Wiki"),
                               LibraryText::folder(3, "Zeta") + LibraryText::folder(4, "Alpha")) +
           LibraryText::folder(2, "Home", LibraryText::sitePin(3, "Bank"));
}

// Folders L1 to L<depth>, each inside the one before.
QString nestedLibrary(int depth)
{
    QString body;
    for (int level = depth; level >= 1; --level)
        body = LibraryText::folder(level, QStringLiteral("L%1").arg(level), {}, body);
    return body;
}

QStringList childElementNames(const XmlNode &element)
{
    QStringList names;
    for (const XmlNode &child : element.childElements())
        names << child.nodeName();
    return names;
}

class FolderDialogsTest : public MainWindowFixture
{
protected:
    // Runs `act` on the modal dialog that `open` brings up. A dialog still
    // open afterwards is cancelled, so a failing check cannot hang the test.
    void withDialog(const std::function<void()> &open, const std::function<void(QDialog &)> &act)
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
            // As a window manager would; the focus and selection must survive it.
            dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([dialog] { return QApplication::activeWindow() == dialog; }, 2000));
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        poll.start();
        open();
        poll.stop();
        EXPECT_TRUE(ran) << "no dialog came up";
    }

    void withCreateDialog(const std::function<void(QDialog &)> &act)
    {
        withDialog([this] { runMenu("mnuAddTopic"); }, act);
    }
    void withModifyDialog(const std::function<void(QDialog &)> &act)
    {
        withDialog([this] { runMenu("mnuEditModifyTopic"); }, act);
    }

    template<typename Widget>
    static Widget *part(QDialog &dialog, const char *name)
    {
        auto *widget = dialog.findChild<Widget *>(QString::fromLatin1(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }

    static QString text(QDialog &dialog, const char *label) { return part<QLabel>(dialog, label)->text(); }

    static void pickInDialog(QDialog &dialog, const QString &name)
    {
        auto *tree = part<TopicListTree>(dialog, "tvwTopicList");
        QTreeWidgetItem *node = nullptr;
        for (QTreeWidgetItemIterator it(tree); *it && !node; ++it) {
            if ((*it)->text(0) == name)
                node = *it;
        }
        ASSERT_TRUE(node) << name.toStdString();
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        ASSERT_EQ(tree->selectedNode(), node);
    }

    static void typeName(QDialog &dialog, const QString &name)
    {
        QLineEdit *field = part<QLineEdit>(dialog, "txtTName");
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, name);
    }

    static void save(QDialog &dialog) { QTest::mouseClick(part<QPushButton>(dialog, "cmdSave"), Qt::LeftButton); }

    void makeCurrent(const char *folder)
    {
        if (folder)
            clickFolder(QString::fromLatin1(folder));
    }

    // Selects the node by a click, then clicks it again: the editor opens
    // once the double-click time has passed.
    QLineEdit *clickToEdit(QTreeWidgetItem *node, int waitMs = 2000)
    {
        clickItem(ui().tvwTopics, node);
        clickItem(ui().tvwTopics, node);
        QLineEdit *editor = nullptr;
        const bool opened = QTest::qWaitFor(
            [&] {
                editor = ui().tvwTopics->viewport()->findChild<QLineEdit *>();
                return editor && editor->isVisible();
            },
            waitMs);
        return opened ? editor : nullptr;
    }

    QByteArray onDisk() const { return LibraryText::readFile(libraryPath()); }

    QString storedName(const QString &tid) const
    {
        return reopenLibrary()->getTheDOM().nodeFromID(tid).selectSingleNode("NAME").text();
    }

    void expectOneMessage(const QString &text, MessageIcon icon = MessageIcon::Exclamation)
    {
        ASSERT_EQ(m_dialogs.shown().size(), 1u);
        const MessageRequest &shown = m_dialogs.shown().front().request;
        EXPECT_EQ(shown.text, text);
        EXPECT_EQ(shown.title, "SitePins");
        EXPECT_EQ(shown.buttons, MessageButtons::Ok);
        EXPECT_EQ(shown.icon, icon);
    }
};

struct CreateCase
{
    const char *label;
    const char *current; // nullptr: the root stays current
    const char *pick;    // nullptr: keep the preselected node
    const char *name;
    int parentTid; // 0: a base folder
    const char *parentNode;
    const char *siblingsShown;
};

class CreateFolder : public FolderDialogsTest, public ::testing::WithParamInterface<CreateCase>
{
};

TEST_P(CreateFolder, appendsACompleteFolderAndOneSortedNodeLeavingTheViewAlone)
{
    const CreateCase &c = GetParam();
    writeLibraryBody(sampleLibrary());
    start();
    makeCurrent(c.current);
    QTreeWidgetItem *selectedBefore = ui().tvwTopics->currentItem();
    const QStringList listBefore = entryNames(ui().tvwWM);
    const QString tidBefore = ui().txtTID->text();
    const QString captionBefore = ui().lblTName->caption();

    withCreateDialog([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Create folder");
        if (c.pick)
            pickInDialog(dialog, QString::fromLatin1(c.pick));
        EXPECT_EQ(text(dialog, "lblTopicName"), c.parentTid ? c.parentNode : "Base folder");
        EXPECT_EQ(text(dialog, "Label1"), c.parentTid ? "New sub-folder name:" : "New base folder name:");
        typeName(dialog, QString::fromLatin1(c.name));
        save(dialog);
        EXPECT_FALSE(dialog.isVisible());
    });

    EXPECT_TRUE(m_dialogs.shown().empty());
    const XmlDocument dom = reopenLibrary()->getTheDOM();
    const XmlNode collection =
        c.parentTid ? dom.nodeFromID(QStringLiteral("T%1").arg(c.parentTid)).selectSingleNode("SUBFOLDERS")
                    : dom.documentElement();
    const XmlNode created = collection.childElements().back();
    EXPECT_EQ(created.getAttribute("TID"), "T5");
    EXPECT_EQ(childElementNames(created), QStringList({"NAME", "SITEPINS", "SUBFOLDERS"}));
    EXPECT_EQ(created.selectSingleNode("NAME").text(), c.name);
    EXPECT_TRUE(created.selectSingleNode("SITEPINS").childElements().empty());
    EXPECT_TRUE(created.selectSingleNode("SUBFOLDERS").childElements().empty());

    QTreeWidgetItem *parent = folderNode(QString::fromLatin1(c.parentNode));
    ASSERT_TRUE(parent);
    EXPECT_EQ(childNames(parent), QString::fromLatin1(c.siblingsShown).split(' '));
    EXPECT_TRUE(parent->isExpanded());
    EXPECT_EQ(window().folderTree().findNodeByTag("T5")->parent(), parent);
    EXPECT_EQ(ui().tvwTopics->currentItem(), selectedBefore);
    EXPECT_EQ(entryNames(ui().tvwWM), listBefore);
    EXPECT_EQ(ui().txtTID->text(), tidBefore);
    EXPECT_EQ(ui().lblTName->caption(), captionBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateFolder,
    ::testing::Values(CreateCase{"root_current_and_a_name_in_use", nullptr, nullptr, "Work", 0, "FOLDERS",
                                 "Home Work Work"},
                      CreateCase{"folder_current", "Work", nullptr, "Middle", 1, "Work", "Alpha Middle Zeta"},
                      CreateCase{"another_folder_picked", "Work", "Home", "Middle", 2, "Home", "Middle"},
                      CreateCase{"root_picked", "Work", "FOLDERS", "Middle", 0, "FOLDERS", "Home Middle Work"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(FolderDialogsTest, aNameWithCharactersXmlCannotHoldIsShownAsStored)
{
    writeLibraryBody(sampleLibrary());
    start();
    withCreateDialog([](QDialog &dialog) {
        part<QLineEdit>(dialog, "txtTName")->insert(QStringLiteral("Bad\x01Name\x0B")); // as a paste would
        save(dialog);
    });
    EXPECT_EQ(storedName("T5"), "BadName");
    EXPECT_EQ(window().folderTree().findNodeByTag("T5")->text(0), "BadName");
}

TEST_F(FolderDialogsTest, dialogTreeIsBuiltLikeTheFolderTreeAndSortsWhenOpened)
{
    writeLibraryBody(sampleLibrary());
    start();
    withCreateDialog([](QDialog &dialog) {
        auto *tree = part<TopicListTree>(dialog, "tvwTopicList");
        QTreeWidgetItem *root = tree->rootNode();
        ASSERT_TRUE(root);
        EXPECT_EQ(tree->topLevelItemCount(), 1);
        EXPECT_EQ(root->text(0), "FOLDERS");
        EXPECT_TRUE(tree->isRoot(tree->selectedNode()));
        ASSERT_EQ(root->childCount(), 2);
        EXPECT_EQ(root->child(0)->text(0), "Home");
        QTreeWidgetItem *work = root->child(1);
        EXPECT_EQ(work->data(0, Qt::UserRole).toString(), "T1");
        EXPECT_FALSE(work->isExpanded());
        EXPECT_EQ(work->child(0)->text(0), "Zeta") << "document order until first opened";
        work->setExpanded(true);
        EXPECT_EQ(work->child(0)->text(0), "Alpha");
        EXPECT_EQ(work->child(1)->text(0), "Zeta");
    });
}

TEST_F(FolderDialogsTest, dialogTreeReportsEachChoiceOnceIncludingThePreselectedNode)
{
    writeLibraryBody(sampleLibrary());
    start();
    withCreateDialog([](QDialog &dialog) {
        auto *tree = part<TopicListTree>(dialog, "tvwTopicList");
        QSignalSpy chosen(tree, &TopicListTree::nodeChosen);
        pickInDialog(dialog, "FOLDERS");
        EXPECT_EQ(chosen.size(), 1) << "a click on the preselected root is a choice";
        pickInDialog(dialog, "Home");
        EXPECT_EQ(chosen.size(), 2) << "a click that moves the selection is one choice";
        QTest::keyClick(tree, Qt::Key_Down);
        ASSERT_EQ(chosen.size(), 3);
        EXPECT_EQ(chosen.back().front().value<QTreeWidgetItem *>()->text(0), "Work");
        EXPECT_EQ(text(dialog, "lblTopicName"), "Work");
    });
}

struct NameFieldCase
{
    const char *label;
    const char *typed;
    int erased;
    bool saveEnabled;
};

class CreateNameField : public FolderDialogsTest, public ::testing::WithParamInterface<NameFieldCase>
{
};

TEST_P(CreateNameField, enablesSaveAndMakesItDefaultOnlyForANonEmptyName)
{
    writeLibraryBody(sampleLibrary());
    start();
    withCreateDialog([](QDialog &dialog) {
        auto *field = part<QLineEdit>(dialog, "txtTName");
        auto *saveButton = part<QPushButton>(dialog, "cmdSave");
        auto *cancel = part<QPushButton>(dialog, "cmdCancel");
        EXPECT_EQ(dialog.focusWidget(), field);
        EXPECT_FALSE(saveButton->isEnabled()) << "nothing typed yet";
        QTest::keyClicks(field, QString::fromLatin1(GetParam().typed));
        for (int i = 0; i < GetParam().erased; ++i)
            QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(saveButton->isEnabled(), GetParam().saveEnabled);
        EXPECT_EQ(saveButton->isDefault(), GetParam().saveEnabled);
        EXPECT_EQ(cancel->isDefault(), !GetParam().saveEnabled);
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateNameField,
                         ::testing::Values(NameFieldCase{"a_letter", "a", 0, true},
                                           NameFieldCase{"blanks_only", "   ", 0, true},
                                           NameFieldCase{"typed_then_erased", "ab", 2, false},
                                           NameFieldCase{"partly_erased", "ab", 1, true}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(FolderDialogsTest, exhaustedFolderIdentifiersRefuseTheCreateAndSaveNothing)
{
    // 16384 folders, and every number from 16385 up is taken.
    QString subFolders;
    for (int tid = 16385; tid <= XMLDatabase::kMaxIdentifierNumber; ++tid)
        subFolders += LibraryText::folder(tid, QStringLiteral("F%1").arg(tid));
    writeLibraryBody(LibraryText::folder(1, "Holder", {}, subFolders));
    start();
    const QByteArray before = onDisk();
    withCreateDialog([this](QDialog &dialog) {
        typeName(dialog, "One too many");
        save(dialog);
        EXPECT_TRUE(dialog.isVisible()) << "the user can still cancel";
        expectOneMessage("The folder cannot be created: the library already holds the largest number of folders "
                         "it can number (32767).");
    });
    EXPECT_EQ(onDisk(), before);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Holder"}));
    EXPECT_EQ(window().m_objDOMSitePins.documentElement().childElements().size(), 1u);
}

struct DepthCase
{
    const char *label;
    int libraryDepth;
    bool created;
};

class CreateDepth : public FolderDialogsTest, public ::testing::WithParamInterface<DepthCase>
{
};

TEST_P(CreateDepth, refusesASubFolderTheLibraryCouldNotOpenAgain)
{
    const int depth = GetParam().libraryDepth;
    writeLibraryBody(nestedLibrary(depth));
    start();
    FolderTree &tree = window().folderTree();
    tree.selectNode(tree.findNodeByTag(QStringLiteral("T%1").arg(depth)));
    tree.tvwTopics_NodeClick();
    const QByteArray before = onDisk();

    withCreateDialog([](QDialog &dialog) {
        typeName(dialog, "Deeper");
        save(dialog);
    });

    if (GetParam().created) {
        EXPECT_TRUE(m_dialogs.shown().empty());
        const XmlNode created = reopenLibrary()->getTheDOM().nodeFromID(QStringLiteral("T%1").arg(depth + 1));
        ASSERT_TRUE(created) << "the deepest allowed folder is written and the file opens again";
        EXPECT_EQ(created.selectSingleNode("NAME").text(), "Deeper");
    } else {
        expectOneMessage("The folder cannot be created here: folders can be nested at most 100 levels deep.");
        EXPECT_EQ(onDisk(), before);
        EXPECT_FALSE(tree.findNodeByTag(QStringLiteral("T%1").arg(depth + 1)));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CreateDepth,
                         ::testing::Values(DepthCase{"ninety_nine_levels", 99, true},
                                           DepthCase{"one_hundred_levels", 100, false}),
                         [](const auto &info) { return std::string(info.param.label); });

struct RenameCase
{
    const char *label;
    const char *current;
    const char *pick; // nullptr: rename the preselected current folder
    const char *tid;
    const char *newName;
    const char *parentNode;
    QStringList siblingsShown;
    const char *folderCaption; // lblTName afterwards
};

class RenameFolder : public FolderDialogsTest, public ::testing::WithParamInterface<RenameCase>
{
};

TEST_P(RenameFolder, writesTheNameAndRenamesTheNodeInItsSortedPlace)
{
    const RenameCase &c = GetParam();
    writeLibraryBody(sampleLibrary());
    start();
    makeCurrent(c.current);
    const QStringList listBefore = entryNames(ui().tvwWM);

    withModifyDialog([&](QDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Modify folder");
        auto *field = part<QLineEdit>(dialog, "txtTName");
        EXPECT_EQ(field->text(), c.current) << "the current folder is preselected";
        if (c.pick)
            pickInDialog(dialog, QString::fromLatin1(c.pick));
        const QString chosen = QString::fromLatin1(c.pick ? c.pick : c.current);
        EXPECT_EQ(field->text(), chosen);
        EXPECT_EQ(text(dialog, "lblTopicName"), chosen);
        EXPECT_EQ(text(dialog, "Label1"), "Modified folder name:");
        EXPECT_TRUE(part<QPushButton>(dialog, "cmdSave")->isDefault());
        typeName(dialog, QString::fromLatin1(c.newName));
        save(dialog);
    });

    EXPECT_EQ(storedName(QString::fromLatin1(c.tid)), c.newName);
    EXPECT_EQ(window().folderTree().findNodeByTag(QString::fromLatin1(c.tid))->text(0), c.newName);
    EXPECT_EQ(childNames(folderNode(QString::fromLatin1(c.parentNode))), c.siblingsShown);
    EXPECT_EQ(ui().lblTName->caption(), c.folderCaption);
    EXPECT_EQ(entryNames(ui().tvwWM), listBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenameFolder,
    ::testing::Values(
        RenameCase{"current_folder", "Work", nullptr, "T1", "Office", "FOLDERS", {"Home", "Office"}, "Office"},
        RenameCase{"another_folder", "Home", "Work", "T1", "Office", "FOLDERS", {"Home", "Office"}, "Home"},
        RenameCase{"sub_folder_resorted", "Work", "Zeta", "T3", "Aardvark", "Work", {"Aardvark", "Alpha"}, "Work"}),
    [](const auto &info) { return std::string(info.param.label); });

class RenameRoot : public FolderDialogsTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(RenameRoot, emptiesAndLocksTheNameField)
{
    writeLibraryBody(sampleLibrary());
    start();
    makeCurrent(GetParam());
    withModifyDialog([](QDialog &dialog) {
        pickInDialog(dialog, "FOLDERS");
        auto *field = part<QLineEdit>(dialog, "txtTName");
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_FALSE(field->isEnabled());
        EXPECT_FALSE(part<QPushButton>(dialog, "cmdSave")->isEnabled());
        EXPECT_EQ(text(dialog, "lblTopicName"), "No folder selected");
        EXPECT_EQ(text(dialog, "Label1"), "Modifed folder name:");
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, RenameRoot, ::testing::Values(nullptr, "Work"),
                         [](const auto &info) { return std::string(info.param ? "after_a_folder" : "at_opening"); });

struct SelectionCase
{
    int nameLength;
    int selected;
};

class RenameSelection : public FolderDialogsTest, public ::testing::WithParamInterface<SelectionCase>
{
};

TEST_P(RenameSelection, coversAtMostTheFirstHundredCharacters)
{
    const QString name(GetParam().nameLength, QLatin1Char('n'));
    writeLibraryBody(LibraryText::folder(1, name));
    start();
    clickFolder(name);
    withModifyDialog([](QDialog &dialog) {
        auto *field = part<QLineEdit>(dialog, "txtTName");
        EXPECT_EQ(QApplication::focusWidget(), field)
            << QApplication::focusWidget()->objectName().toStdString() << " active "
            << (QApplication::activeWindow() ? QApplication::activeWindow()->objectName().toStdString() : "none");
        EXPECT_EQ(field->selectionStart(), 0);
        EXPECT_EQ(field->selectedText().size(), GetParam().selected);
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, RenameSelection,
                         ::testing::Values(SelectionCase{20, 20}, SelectionCase{100, 100}, SelectionCase{150, 100}));

class CancelDialog : public FolderDialogsTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(CancelDialog, fromTheToolbarChangesNothing)
{
    writeLibraryBody(sampleLibrary());
    start();
    clickFolder("Work");
    const QByteArray before = onDisk();
    const bool creates = GetParam() == 12;
    withDialog([this] { clickToolbarButton(GetParam()); },
               [creates](QDialog &dialog) {
                   EXPECT_EQ(dialog.windowTitle(), creates ? "Create folder" : "Modify folder");
                   EXPECT_EQ(text(dialog, "Label2"),
                             creates ? "Select a sub-folder (or use the default base folder) and enter a new folder "
                                       "name:"
                                     : "Modify the name of the current folder, or select another folder name to "
                                       "change:");
                   typeName(dialog, "Changed");
                   QTest::mouseClick(part<QPushButton>(dialog, "cmdCancel"), Qt::LeftButton);
                   EXPECT_FALSE(dialog.isVisible());
               });
    EXPECT_EQ(onDisk(), before);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Home", "Work"}));
    EXPECT_EQ(childNames(folderNode("Work")), QStringList({"Zeta", "Alpha"}));
    EXPECT_EQ(ui().lblTName->caption(), "Work");
}

INSTANTIATE_TEST_SUITE_P(Buttons, CancelDialog, ::testing::Values(12, 13));

struct InPlaceCase
{
    const char *label;
    const char *newName;
    bool pasted;
    const char *stored;
};

class InPlaceRename : public FolderDialogsTest, public ::testing::WithParamInterface<InPlaceCase>
{
};

TEST_P(InPlaceRename, writesTheFileAndTheCaptionTakesTheStoredName)
{
    writeLibraryBody(sampleLibrary());
    start();
    QLineEdit *editor = clickToEdit(folderNode("Work"));
    ASSERT_TRUE(editor);
    editor->selectAll();
    if (GetParam().pasted)
        editor->insert(QString::fromLatin1(GetParam().newName));
    else
        QTest::keyClicks(editor, QString::fromLatin1(GetParam().newName));
    QTest::keyClick(editor, Qt::Key_Return);

    EXPECT_TRUE(QTest::qWaitFor([this] { return ui().lblTName->caption() == GetParam().stored; }, 2000))
        << ui().lblTName->caption().toStdString();
    EXPECT_EQ(storedName("T1"), GetParam().stored);
    EXPECT_EQ(window().folderTree().findNodeByTag("T1")->text(0), GetParam().stored);
    EXPECT_TRUE(m_dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, InPlaceRename,
                         ::testing::Values(InPlaceCase{"renamed", "Office", false, "Office"},
                                           InPlaceCase{"blanks_kept", "  Office ", false, "  Office "},
                                           InPlaceCase{"another_folders_name", "Home", false, "Home"},
                                           InPlaceCase{"control_characters_dropped", "Off\x01ice", true, "Office"}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(FolderDialogsTest, emptyInPlaceNameIsRefusedOnceAndTheOldNameStays)
{
    writeLibraryBody(sampleLibrary());
    start();
    const QByteArray before = onDisk();
    QLineEdit *editor = clickToEdit(folderNode("Work"));
    ASSERT_TRUE(editor);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    // A real message box takes the focus; an editor still open would then commit again.
    m_dialogs.whileNextMessageIsShown([this] {
        ui().tvwWM->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    });
    QTest::keyClick(editor, Qt::Key_Return);

    ASSERT_TRUE(QTest::qWaitFor([this] { return !m_dialogs.shown().empty(); }, 2000));
    QTest::qWait(50); // a second commit of the closing editor would come now
    expectOneMessage("The folder must have a name.", MessageIcon::None);
    EXPECT_EQ(folderNode("Work"), window().folderTree().findNodeByTag("T1"));
    EXPECT_EQ(ui().lblTName->caption(), "Work");
    EXPECT_EQ(onDisk(), before);
}

class InPlaceRefused : public FolderDialogsTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(InPlaceRefused, opensNoEditorAndWritesNothing)
{
    writeLibraryBody(sampleLibrary());
    start();
    const QString refused = QString::fromLatin1(GetParam());
    QTreeWidgetItem *node = window().folderTree().rootNode();
    if (refused == "while_creating_a_sitepin") {
        clickFolder("Work");
        runMenu("mnuAddSitePin");
        ASSERT_EQ(ui().txtMode->text(), "add");
        node = folderNode("Work");
    }
    const QByteArray before = onDisk();
    EXPECT_FALSE(clickToEdit(node, QApplication::doubleClickInterval() + 150));
    EXPECT_EQ(onDisk(), before);
    EXPECT_TRUE(m_dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, InPlaceRefused, ::testing::Values("root", "while_creating_a_sitepin"),
                         [](const auto &info) { return std::string(info.param); });

TEST_F(FolderDialogsTest, doubleClickStillOpensAFolderWithoutEditingIt)
{
    writeLibraryBody(sampleLibrary());
    start();
    QTreeWidgetItem *work = folderNode("Work");
    clickFolder("Work");
    const QPoint centre = ui().tvwTopics->visualItemRect(work).center();
    QTest::mouseDClick(ui().tvwTopics->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(work->isExpanded());
    QTest::qWait(QApplication::doubleClickInterval() + 150);
    EXPECT_FALSE(ui().tvwTopics->viewport()->findChild<QLineEdit *>());
}

} // namespace
