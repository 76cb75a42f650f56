#include "editing/frmModifyTopic.h"

#include "editing/FolderCommands.h"
#include "editing/FolderElements.h"
#include "editing/TopicListTree.h"
#include "help/HelpTopics.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const FolderNameDialog::Texts kTexts{"frmModifyTopic", "Modify folder",
                                     "Modify the name of the current folder, or select another folder name to change:",
                                     "No folder selected", "Modified folder name:"};

} // namespace

frmModifyTopic::frmModifyTopic(frmSitePins &window)
    : FolderNameDialog(window, kTexts)
{
    setProperty(HelpTopics::kContextProperty, HelpTopics::kModifyFolderDialog.contextId);
    Form_Load();
}

void frmModifyTopic::Form_Load()
{
    loadTopicList();
    updateFolderLabels();
    txtTName->setFocus(Qt::OtherFocusReason);
    txtTName->setSelection(0, kSelectedLength);
    applyFontFallback();
}

void frmModifyTopic::updateFolderLabels()
{
    if (isRootChosen()) {
        lblTopicName->setText(QStringLiteral("No folder selected"));
        Label1->setText(QStringLiteral("Modifed folder name:"));
        txtTName->clear();
        txtTName->setEnabled(false);
        cmdSave->setEnabled(false);
        return;
    }
    const QString name = chosenNode()->text(0);
    txtTName->setEnabled(true);
    txtTName->setText(name);
    lblTopicName->setText(name);
    Label1->setText(QStringLiteral("Modified folder name:"));
    // Save follows the name: a folder whose stored name is empty offers none to save.
    txtTName_Change();
}

void frmModifyTopic::cmdSave_Click()
{
    if (isRootChosen())
        return;
    const QString tag = TreeNode::tagOf(chosenNode());
    XmlNode name = FolderElements::byTid(m_objDOMSitePins, tag).selectSingleNode(QStringLiteral("NAME"));
    if (!name) {
        refuse(QStringLiteral("The folder cannot be renamed: it is no longer in the library."));
        return;
    }
    name.setText(txtTName->text());
    m_window.saveLibrary();
    accept();
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *node = tree.findNodeByTag(tag);
    m_window.folderCommands().showFolderName(node, name.nodeTypedValue());
    if (node && node->parent())
        node->parent()->setExpanded(true);
}
