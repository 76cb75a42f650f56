#include "editing/frmTopicDialog.h"

#include "editing/FolderElements.h"
#include "editing/TopicListTree.h"
#include "help/HelpTopics.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "store/LibraryLimits.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const FolderNameDialog::Texts kTexts{
    "frmTopicDialog", "Create folder",
    "Select a sub-folder (or use the default base folder) and enter a new folder name:", "Base folder",
    "New base folder name:"};

} // namespace

frmTopicDialog::frmTopicDialog(frmSitePins &window)
    : FolderNameDialog(window, kTexts)
{
    setProperty(HelpTopics::kContextProperty, HelpTopics::kCreateFolderDialog.contextId);
    Form_Load();
}

void frmTopicDialog::Form_Load()
{
    loadTopicList();
    updateFolderLabels();
    txtTName->setFocus(Qt::OtherFocusReason);
    cmdSave->setEnabled(false);
    makeSaveDefault(false);
    applyFontFallback();
}

void frmTopicDialog::updateFolderLabels()
{
    if (isRootChosen()) {
        lblTopicName->setText(QStringLiteral("Base folder"));
        Label1->setText(QStringLiteral("New base folder name:"));
    } else {
        lblTopicName->setText(chosenNode()->text(0));
        Label1->setText(QStringLiteral("New sub-folder name:"));
    }
}

void frmTopicDialog::cmdSave_Click()
{
    const QString parentTag = isRootChosen() ? QString() : TreeNode::tagOf(chosenNode());
    XmlNode collection = targetCollection(parentTag);
    if (!collection)
        return;
    const QString tid = m_window.getMyDB().getNewTID();
    if (tid.isEmpty()) {
        refuse(QStringLiteral("The folder cannot be created: the library already holds the largest number of "
                              "folders it can number (%1).")
                   .arg(XMLDatabase::kMaxIdentifierNumber));
        return;
    }
    const XmlNode folder = FolderElements::appendNew(m_objDOMSitePins, collection, tid, txtTName->text());
    m_window.saveLibrary();
    accept();
    showInMainTree(parentTag, folder);
}

XmlNode frmTopicDialog::targetCollection(const QString &parentTag)
{
    if (isRootChosen())
        return m_objDOMSitePins.documentElement();
    const XmlNode parent = FolderElements::byTid(m_objDOMSitePins, parentTag);
    const XmlNode collection = parent.selectSingleNode(QStringLiteral("SUBFOLDERS"));
    if (!collection) {
        refuse(QStringLiteral("The folder cannot be created: the chosen folder is no longer in the library."));
        return {};
    }
    // The parser refuses deeper nesting, so the library would not open again.
    if (FolderElements::depthOf(parent) >= LibraryLimits::kMaxFolderDepth) {
        refuse(QStringLiteral("The folder cannot be created here: folders can be nested at most %1 levels deep.")
                   .arg(LibraryLimits::kMaxFolderDepth));
        return {};
    }
    return collection;
}

// The main tree gets the one new node rather than a rebuild, so its
// selection, open folders and the SitePin list stay as they are.
void frmTopicDialog::showInMainTree(const QString &parentTag, const XmlNode &folder)
{
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *parent = parentTag.isEmpty() ? tree.rootNode() : tree.findNodeByTag(parentTag);
    if (!parent)
        return;
    QTreeWidget *tvwTopics = m_window.ui().tvwTopics;
    tvwTopics->setUpdatesEnabled(false);
    tree.addFolderNode(folder, parent, false);
    parent->setExpanded(true);
    TreeNode::sortChildren(parent);
    tvwTopics->setUpdatesEnabled(true);
}
