#include "editing/frmMoveSitePin.h"

#include "editing/FolderElements.h"
#include "editing/MoveCommands.h"
#include "editing/TopicListTree.h"
#include "help/HelpTopics.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

const MoveDialog::Texts kTexts{"frmMoveSitePin", "Move SitePin",
                               "Choose a folder to move the currently selected SitePin to (you can also do this by "
                               "dragging and dropping a SitePin into a folder in the Index view):"};

// The root's text. Compared as text, so a folder of that very name is no
// target either.
const QString kRootText = QStringLiteral("FOLDERS");

} // namespace

frmMoveSitePin::frmMoveSitePin(frmSitePins &window)
    : MoveDialog(window, kTexts)
{
    setProperty(HelpTopics::kContextProperty, HelpTopics::kMoveSitePinDialog.contextId);
    lblWMName = addCaption("Move:", "lblWMName", "SitePin name");
    lblCurrentTopic = addCaption("from:", "lblCurrentTopic", "current folder");
    lblNewTopic = addCaption("to:", "lblNewTopic", "new folder");
    Form_Load();
}

void frmMoveSitePin::Form_Load()
{
    frmSitePinsUi &ui = m_window.ui();
    startFrom(ui.txtTID->text(), lblCurrentTopic, lblNewTopic);
    if (const QModelIndex entry = FolderTree::selectedEntry(ui.tvwWM); entry.isValid())
        lblWMName->setText(entry.data().toString());
    applyFontFallback();
}

void frmMoveSitePin::tvwTopicList_NodeClick(QTreeWidgetItem *node)
{
    lblNewTopic->setText(node->text(0));
    lblNewTopic_Change();
}

void frmMoveSitePin::lblNewTopic_Change()
{
    const QString target = lblNewTopic->text();
    if (target.isEmpty() || target == kRootText) {
        enableSave(false);
        lblNewTopic->clear();
        return;
    }
    enableSave(true);
}

void frmMoveSitePin::cmdSave_Click()
{
    if (isRootChosen() || lblNewTopic->text().isEmpty())
        return;
    MoveCommands &moves = m_window.moveCommands();
    const QString wid = FolderTree::selectedTag(m_window.ui().tvwWM).trimmed();
    const XmlNode sitePin = wid.isEmpty() ? XmlNode() : m_objDOMSitePins.nodeFromID(wid);
    if (sitePin.nodeName() != QLatin1String("SITEPIN") || !moves.isInOpenLibrary(sitePin)) {
        refuse(QStringLiteral("The SitePin cannot be moved: it is no longer in the library."));
        return;
    }
    const QString tid = TreeNode::tagOf(chosenNode());
    const XmlNode folder = FolderElements::byTid(m_objDOMSitePins, tid);
    if (!moves.isInOpenLibrary(folder)) {
        refuse(QStringLiteral("The SitePin cannot be moved: the chosen folder is no longer in the library."));
        return;
    }
    if (!moves.moveSitePin(sitePin, folder))
        return;
    accept();
    moves.showTargetFolder(tid, wid);
}
