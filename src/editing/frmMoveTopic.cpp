#include "editing/frmMoveTopic.h"

#include "editing/FolderElements.h"
#include "editing/MoveCommands.h"
#include "editing/TopicListTree.h"
#include "help/HelpTopics.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"

#include <QLabel>
#include <QPushButton>

namespace {

const MoveDialog::Texts kTexts{"frmMoveTopic", "Move folder",
                               "Choose a location to move the currently selected folder to (you can also do this by "
                               "dragging and dropping folders in the Index view):"};

} // namespace

frmMoveTopic::frmMoveTopic(frmSitePins &window)
    : MoveDialog(window, kTexts)
{
    setProperty(HelpTopics::kContextProperty, HelpTopics::kMoveFolderDialog.contextId);
    lblCurrentFolder = addCaption("Move:", "lblCurrentFolder", "current folder");
    lblNewFolder = addCaption("to:", "lblNewFolder", "new folder");
    Form_Load();
}

void frmMoveTopic::Form_Load()
{
    startFrom(TreeNode::tagOf(m_window.folderTree().selectedNode()), lblCurrentFolder, lblNewFolder);
    m_strMoveTID = TreeNode::tagOf(chosenNode());
    applyFontFallback();
}

// The root is a target here: the folder then becomes a base folder.
void frmMoveTopic::tvwTopicList_NodeClick(QTreeWidgetItem *node)
{
    lblNewFolder->setText(node->text(0));
    lblNewFolder_Change();
}

void frmMoveTopic::lblNewFolder_Change()
{
    enableSave(!lblNewFolder->text().isEmpty());
}

void frmMoveTopic::cmdSave_Click()
{
    QTreeWidgetItem *target = chosenNode();
    if (!target || TreeNode::tagOf(target) == m_strMoveTID)
        return;
    MoveCommands &moves = m_window.moveCommands();
    const XmlNode folder = FolderElements::byTid(m_objDOMSitePins, m_strMoveTID);
    if (!moves.isInOpenLibrary(folder)) {
        refuse(QStringLiteral("The folder cannot be moved: it is no longer in the library."));
        return;
    }
    const bool toRoot = isRootChosen();
    if (!toRoot && MoveCommands::isInsideFolder(target, m_strMoveTID)) {
        moves.refuseSubFolderTarget();
        return;
    }
    const XmlNode targetElement =
        toRoot ? m_objDOMSitePins.documentElement() : FolderElements::byTid(m_objDOMSitePins, TreeNode::tagOf(target));
    if (!moves.isInOpenLibrary(targetElement)) {
        refuse(QStringLiteral("The folder cannot be moved: the chosen folder is no longer in the library."));
        return;
    }
    if (!moves.moveFolder(folder, targetElement))
        return;
    accept();
    moves.rebuildFolderTree();
}
