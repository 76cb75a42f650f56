#include "MainWindowFixture.h"
#include "ModalDialog.h"
#include "editing/TopicListTree.h"

#include <QDialog>
#include <QSignalSpy>

namespace {

// Work holds its sub-folders in document order Zeta, Alpha.
QString sampleLibrary()
{
    return LibraryText::folder(1, "Work", LibraryText::sitePin(1, "Intranet") + LibraryText::sitePin(2, "Wiki"),
                               LibraryText::folder(3, "Zeta") + LibraryText::folder(4, "Alpha")) +
           LibraryText::folder(2, "Home", LibraryText::sitePin(3, "Bank"));
}

template<typename Widget>
Widget *part(QDialog &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QString::fromLatin1(name));
    EXPECT_TRUE(widget) << name;
    return widget;
}

// As a paste would, so that characters no key types can be given too.
void typeName(QDialog &dialog, const QString &name)
{
    QLineEdit *field = part<QLineEdit>(dialog, "txtTName");
    field->selectAll();
    field->insert(name);
}

void save(QDialog &dialog)
{
    QTest::mouseClick(part<QPushButton>(dialog, "cmdSave"), Qt::LeftButton);
}

class FolderDialogsTest : public MainWindowFixture
{
protected:
    void startWith(const QString &body = sampleLibrary()) { MainWindowFixture::startWith(body); }

    void withDialog(const char *command, const std::function<void(QDialog &)> &act)
    {
        EXPECT_TRUE(withModalDialog([this, command] { runMenu(QString::fromLatin1(command)); }, act));
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

    QString storedName(const QString &tid) const
    {
        return reopenLibrary()->getTheDOM().nodeFromID(tid).selectSingleNode("NAME").text();
    }
    QTreeWidgetItem *nodeTagged(const QString &tid) { return window().folderTree().findNodeByTag(tid); }
};

struct CreateCase
{
    const char *label;
    const char *current; // nullptr: the root stays current
    const char *pick;    // the tag picked in the dialog; nullptr: keep the preselected node
    const char *typed;
    const char *stored;
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
    startWith();
    if (c.current)
        clickFolder(c.current);
    QTreeWidgetItem *selectedBefore = ui().tvwTopics->currentItem();
    const QStringList listBefore = entryNames(ui().tvwWM);
    const QString captionBefore = ui().lblTName->caption();
    const QString tidBefore = ui().txtTID->text();

    withDialog("mnuAddTopic", [&](QDialog &dialog) {
        if (c.pick)
            pickInDialog(dialog, c.pick);
        EXPECT_EQ(dialogLabel(dialog, "lblTopicName"), c.parentTid ? c.parentNode : "Base folder");
        EXPECT_EQ(dialogLabel(dialog, "Label1"), c.parentTid ? "New sub-folder name:" : "New base folder name:");
        typeName(dialog, c.typed);
        save(dialog);
        EXPECT_FALSE(dialog.isVisible());
    });

    EXPECT_TRUE(m_dialogs.shown().empty());
    const XmlDocument dom = reopenLibrary()->getTheDOM();
    const XmlNode created = dom.nodeFromID("T5");
    EXPECT_EQ(parentOf(dom, "T5"), c.parentTid ? QStringLiteral("T%1").arg(c.parentTid) : "FOLDERS");
    EXPECT_EQ(created.parentNode().childElements().back(), created);
    EXPECT_EQ(elementNames(created), QStringList({"NAME", "SITEPINS", "SUBFOLDERS"}));
    EXPECT_EQ(created.selectSingleNode("NAME").text(), c.stored);
    EXPECT_TRUE(created.selectSingleNode("SITEPINS").childElements().empty());
    EXPECT_TRUE(created.selectSingleNode("SUBFOLDERS").childElements().empty());

    QTreeWidgetItem *parent = folderNode(c.parentNode);
    EXPECT_EQ(childNames(parent), QString::fromLatin1(c.siblingsShown).split(' '));
    EXPECT_TRUE(parent->isExpanded());
    EXPECT_EQ(nodeTagged("T5")->parent(), parent);
    EXPECT_EQ(nodeTagged("T5")->text(0), c.stored) << "the node shows the name as stored";
    EXPECT_EQ(ui().tvwTopics->currentItem(), selectedBefore);
    EXPECT_EQ(entryNames(ui().tvwWM), listBefore);
    EXPECT_EQ(ui().lblTName->caption(), captionBefore);
    EXPECT_EQ(ui().txtTID->text(), tidBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CreateFolder,
    ::testing::Values(CreateCase{"root_current_and_a_name_in_use", nullptr, nullptr, "Work", "Work", 0, "FOLDERS",
                                 "Home Work Work"},
                      CreateCase{"folder_current", "Work", nullptr, "Middle", "Middle", 1, "Work", "Alpha Middle Zeta"},
                      CreateCase{"another_folder_picked_and_a_name_xml_cannot_hold", "Work", "T2",
                                 "Mid\x01"
                                 "dle\x0B",
                                 "Middle", 2, "Home", "Middle"},
                      CreateCase{"root_picked", "Work", "", "Middle", "Middle", 0, "FOLDERS", "Home Middle Work"}),
    [](const auto &info) { return std::string(info.param.label); });

// A click on the preselected node must count as a choice, or a move dialog
// would keep Save disabled; one by keyboard too, or the folder would go under
// the one picked before.
TEST_F(FolderDialogsTest, dialogTreeSortsWhenOpenedAndReportsEachChoiceOnce)
{
    startWith();
    withDialog("mnuAddTopic", [this](QDialog &dialog) {
        auto *tree = part<TopicListTree>(dialog, "tvwTopicList");
        QTreeWidgetItem *work = tree->findNodeByTag("T1");
        EXPECT_EQ(childNames(tree->rootNode()), QStringList({"Home", "Work"}));
        EXPECT_EQ(work->child(0)->text(0), "Zeta") << "document order until first opened";
        work->setExpanded(true);
        EXPECT_EQ(work->child(0)->text(0), "Alpha");

        QSignalSpy chosen(tree, &TopicListTree::nodeChosen);
        pickInDialog(dialog, "");
        EXPECT_EQ(chosen.size(), 1) << "a click on the preselected root is a choice";
        pickInDialog(dialog, "T2");
        EXPECT_EQ(chosen.size(), 2) << "a click that moves the selection is one choice";
        QTest::keyClick(tree, Qt::Key_Down);
        EXPECT_EQ(chosen.size(), 3);
        EXPECT_EQ(dialogLabel(dialog, "lblTopicName"), "Work");
        typeName(dialog, "Keyed");
        save(dialog);
    });
    EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "T5"), "T1");
}

// Both dialogs, opened from the toolbar: Save takes any name but none and
// is the default button only then; Cancel writes nothing, whatever was typed.
TEST_F(FolderDialogsTest, saveIsDefaultOnlyForANonEmptyNameAndCancelChangesNothing)
{
    startWith();
    clickFolder("Work");
    const QByteArray before = fileBytes();
    for (const auto &[button, title] : {std::pair{12, "Create folder"}, std::pair{13, "Modify folder"}}) {
        EXPECT_TRUE(withModalDialog(
            [this, button] { clickToolbarButton(button); },
            [title](QDialog &dialog) {
                EXPECT_EQ(dialog.windowTitle(), title);
                auto *field = part<QLineEdit>(dialog, "txtTName");
                auto *saveButton = part<QPushButton>(dialog, "cmdSave");
                auto *cancel = part<QPushButton>(dialog, "cmdCancel");
                EXPECT_EQ(dialog.focusWidget(), field);
                QTest::keyClick(field, Qt::Key_Backspace); // the selected name, when renaming
                EXPECT_FALSE(saveButton->isEnabled()) << "no name";
                // Typed text, then how many characters are erased again, and whether Save takes it.
                const std::tuple<const char *, int, bool> steps[] = {{"ab", 1, true}, {"", 1, false}, {"   ", 0, true}};
                for (const auto &[typed, erased, enabled] : steps) {
                    QTest::keyClicks(field, QString::fromLatin1(typed));
                    for (int i = 0; i < erased; ++i)
                        QTest::keyClick(field, Qt::Key_Backspace);
                    EXPECT_EQ(saveButton->isEnabled(), enabled) << '"' << field->text().toStdString() << '"';
                    EXPECT_EQ(saveButton->isDefault(), enabled);
                    EXPECT_EQ(cancel->isDefault(), !enabled);
                }
                QTest::mouseClick(cancel, Qt::LeftButton);
                EXPECT_FALSE(dialog.isVisible());
            }));
    }
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Home", "Work"}));
    EXPECT_EQ(childNames(folderNode("Work")), QStringList({"Zeta", "Alpha"}));
    EXPECT_EQ(ui().lblTName->caption(), "Work");
}

TEST_F(FolderDialogsTest, exhaustedFolderIdentifiersRefuseTheCreateAndSaveNothing)
{
    // 16384 folders, and every number from 16385 up is taken.
    QString subFolders;
    for (int tid = 16385; tid <= XMLDatabase::kMaxIdentifierNumber; ++tid)
        subFolders += LibraryText::folder(tid, QStringLiteral("F%1").arg(tid));
    startWith(LibraryText::folder(1, "Holder", {}, subFolders));
    const QByteArray before = fileBytes();
    withDialog("mnuAddTopic", [this](QDialog &dialog) {
        typeName(dialog, "One too many");
        save(dialog);
        EXPECT_TRUE(dialog.isVisible()) << "the user can still cancel";
        expectOnlyMessage("The folder cannot be created: the library already holds the largest number of folders it "
                          "can number (32767).",
                          "SitePins", MessageButtons::Ok, MessageIcon::Exclamation);
    });
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), QStringList({"Holder"}));
    EXPECT_EQ(window().m_objDOMSitePins.documentElement().childElements().size(), 1u);
}

TEST_F(FolderDialogsTest, refusesASubFolderTheLibraryCouldNotOpenAgain)
{
    for (const int depth : {99, 100}) {
        startWith(LibraryText::nestedFolders(depth));
        FolderTree &tree = window().folderTree();
        tree.selectNode(nodeTagged(QStringLiteral("T%1").arg(depth)));
        tree.tvwTopics_NodeClick();
        const QByteArray before = fileBytes();
        withDialog("mnuAddTopic", [](QDialog &dialog) {
            typeName(dialog, "Deeper");
            save(dialog);
        });

        const QString deeper = QStringLiteral("T%1").arg(depth + 1);
        if (depth < 100) {
            EXPECT_TRUE(m_dialogs.shown().empty());
            EXPECT_EQ(storedName(deeper), "Deeper") << "the deepest allowed folder is written and opens again";
            continue;
        }
        expectOnlyMessage("The folder cannot be created here: folders can be nested at most 100 levels deep.",
                          "SitePins", MessageButtons::Ok, MessageIcon::Exclamation);
        EXPECT_EQ(fileBytes(), before);
        EXPECT_FALSE(nodeTagged(deeper));
    }
}

struct RenameCase
{
    const char *label;
    const char *current;
    const char *pick; // the tag picked; nullptr: rename the preselected current folder
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
    startWith();
    clickFolder(c.current);
    const QStringList listBefore = entryNames(ui().tvwWM);

    withDialog("mnuEditModifyTopic", [&](QDialog &dialog) {
        auto *field = part<QLineEdit>(dialog, "txtTName");
        EXPECT_EQ(field->text(), c.current) << "the current folder is preselected";
        EXPECT_EQ(QApplication::focusWidget(), field);
        EXPECT_EQ(field->selectedText(), c.current) << "typing replaces the name";
        if (c.pick)
            pickInDialog(dialog, c.pick);
        const QString chosen = nodeTagged(c.tid)->text(0);
        EXPECT_EQ(field->text(), chosen);
        EXPECT_EQ(dialogLabel(dialog, "lblTopicName"), chosen);
        EXPECT_EQ(dialogLabel(dialog, "Label1"), "Modified folder name:");
        EXPECT_TRUE(part<QPushButton>(dialog, "cmdSave")->isDefault());
        typeName(dialog, c.newName);
        save(dialog);
    });

    EXPECT_EQ(storedName(c.tid), c.newName);
    EXPECT_EQ(nodeTagged(c.tid)->text(0), c.newName);
    EXPECT_EQ(childNames(folderNode(c.parentNode)), c.siblingsShown);
    EXPECT_EQ(ui().lblTName->caption(), c.folderCaption);
    EXPECT_EQ(entryNames(ui().tvwWM), listBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenameFolder,
    ::testing::Values(
        RenameCase{"current_folder", "Work", nullptr, "T1", "Office", "FOLDERS", {"Home", "Office"}, "Office"},
        RenameCase{"another_folder", "Home", "T1", "T1", "Office", "FOLDERS", {"Home", "Office"}, "Home"},
        RenameCase{"sub_folder_resorted", "Work", "T3", "T3", "Aardvark", "Work", {"Aardvark", "Alpha"}, "Work"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(FolderDialogsTest, renamingTheRootEmptiesAndLocksTheNameField)
{
    startWith();
    for (const bool afterAFolder : {false, true}) {
        if (afterAFolder)
            clickFolder("Work");
        withDialog("mnuEditModifyTopic", [](QDialog &dialog) {
            pickInDialog(dialog, "");
            auto *field = part<QLineEdit>(dialog, "txtTName");
            EXPECT_TRUE(field->text().isEmpty());
            EXPECT_FALSE(field->isEnabled());
            EXPECT_FALSE(part<QPushButton>(dialog, "cmdSave")->isEnabled());
            EXPECT_EQ(dialogLabel(dialog, "lblTopicName"), "No folder selected");
            EXPECT_EQ(dialogLabel(dialog, "Label1"), "Modifed folder name:");
        });
    }
}

TEST_F(FolderDialogsTest, renameSelectsAtMostTheFirstHundredCharacters)
{
    startWith(LibraryText::folder(1, QString(150, 'b')));
    clickFolder(QString(150, 'b'));
    withDialog("mnuEditModifyTopic", [](QDialog &dialog) {
        auto *field = part<QLineEdit>(dialog, "txtTName");
        EXPECT_EQ(field->selectionStart(), 0);
        EXPECT_EQ(field->selectedText().size(), 100);
    });
}

TEST_F(FolderDialogsTest, inPlaceRenameWritesTheFileAndTheCaptionTakesTheStoredName)
{
    startWith();
    // Blanks are kept, another folder's name is allowed, control characters
    // (pasted: no key types them) are dropped.
    for (const auto &[typed, stored] :
         {std::pair{"Office", "Office"}, {"  Office ", "  Office "}, {"Home", "Home"}, {"Off\x01ice", "Office"}}) {
        clickItem(ui().tvwTopics, nodeTagged("T2"));
        QLineEdit *editor = clickToEdit(nodeTagged("T1"));
        ASSERT_TRUE(editor);
        editor->selectAll();
        const QString text = QString::fromLatin1(typed);
        text.contains(QChar(1)) ? editor->insert(text) : QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);

        EXPECT_TRUE(QTest::qWaitFor([&] { return ui().lblTName->caption() == stored; }, 2000))
            << ui().lblTName->caption().toStdString();
        EXPECT_EQ(storedName("T1"), stored);
        EXPECT_EQ(nodeTagged("T1")->text(0), stored);
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(FolderDialogsTest, emptyInPlaceNameIsRefusedOnceAndTheOldNameStays)
{
    startWith();
    const QByteArray before = fileBytes();
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
    expectOnlyMessage("The folder must have a name.", "SitePins");
    EXPECT_EQ(folderNode("Work"), nodeTagged("T1"));
    EXPECT_EQ(ui().lblTName->caption(), "Work");
    EXPECT_EQ(fileBytes(), before);
}

// A double-click opens the folder; neither it, nor a second click on the
// root or on a folder while a SitePin is being created, starts a rename.
TEST_F(FolderDialogsTest, noInPlaceRenameForTheRootWhileCreatingOrAfterADoubleClick)
{
    startWith();
    const QByteArray before = fileBytes();
    const int wait = QApplication::doubleClickInterval() + 150;
    QTreeWidgetItem *work = folderNode("Work");
    clickFolder("Work");
    QTest::mouseDClick(ui().tvwTopics->viewport(), Qt::LeftButton, {}, ui().tvwTopics->visualItemRect(work).center());
    EXPECT_TRUE(work->isExpanded());
    QTest::qWait(wait);
    EXPECT_FALSE(ui().tvwTopics->viewport()->findChild<QLineEdit *>());

    EXPECT_FALSE(clickToEdit(window().folderTree().rootNode(), wait));
    clickFolder("Work");
    runMenu("mnuAddSitePin");
    ASSERT_EQ(ui().txtMode->text(), "add");
    EXPECT_FALSE(clickToEdit(work, wait));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(m_dialogs.shown().empty());
}

} // namespace
