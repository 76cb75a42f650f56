#include "editing/FolderCommands.h"

#include "editing/FolderElements.h"
#include "editing/FolderLabelDelegate.h"
#include "editing/frmModifyTopic.h"
#include "editing/frmTopicDialog.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XmlText.h"

#include <QLabel>
#include <QTreeWidget>

FolderCommands::FolderCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    window.commands().on(QStringLiteral("mnuAddTopic"), [this] { mnuAddTopic_Click(); });
    window.commands().on(QStringLiteral("mnuEditModifyTopic"), [this] { mnuEditModifyTopic_Click(); });
    enableLabelEditing();
}

void FolderCommands::mnuAddTopic_Click()
{
    frmTopicDialog dialog(m_window);
    dialog.exec();
}

void FolderCommands::mnuEditModifyTopic_Click()
{
    frmModifyTopic dialog(m_window);
    dialog.exec();
}

// A click on the selected node opens the editor once the double-click time
// has passed, so a double click still opens and closes folders. F2 belongs
// to Go > First.
void FolderCommands::enableLabelEditing()
{
    QTreeWidget *tree = m_window.ui().tvwTopics;
    tree->setEditTriggers(QAbstractItemView::SelectedClicked);
    auto *delegate = new FolderLabelDelegate([this](const QModelIndex &index) { return mayEditLabel(index); }, tree);
    tree->setItemDelegate(delegate);
    // Queued: the edit is answered once its editor has closed, so no message
    // sits over an open editor and no re-sort moves rows beneath one.
    connect(delegate, &FolderLabelDelegate::labelEdited, this, &FolderCommands::tvwTopics_AfterLabelEdit,
            Qt::QueuedConnection);
}

bool FolderCommands::mayEditLabel(const QModelIndex &index) const
{
    const bool isRoot = !index.parent().isValid();
    return !isRoot && m_window.ui().txtMode->text().isEmpty();
}

void FolderCommands::tvwTopics_AfterLabelEdit(const QString &tag, const QString &newText)
{
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *node = tree.findNodeByTag(tag);
    if (!node || tree.isRoot(node))
        return;
    XmlNode name = FolderElements::byTid(m_window.m_objDOMSitePins, tag).selectSingleNode(QStringLiteral("NAME"));
    if (!name) {
        m_window.message(QStringLiteral("The folder cannot be renamed: it is no longer in the library."),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return;
    }
    // The node still shows the old name: the edit has not been written into it.
    if (XmlText::withoutInvalidChars(newText).isEmpty()) {
        m_window.message(QStringLiteral("The folder must have a name."));
        return;
    }
    name.setText(newText);
    m_window.saveLibrary();
    showFolderName(node, name.nodeTypedValue());
}

void FolderCommands::showFolderName(QTreeWidgetItem *node, const QString &name)
{
    if (!node)
        return;
    const QString oldName = node->text(0);
    node->setText(0, name);
    TreeNode::sortChildren(node->parent());
    // The captions follow only while they name this folder: a stale txtTID
    // behind "No folder selected" must not bring a folder back.
    frmSitePinsUi &ui = m_window.ui();
    if (ui.txtTID->text() != TreeNode::tagOf(node))
        return;
    if (ui.lblTName->caption() != QLatin1String(DetailPanel::kNoFolderSelected))
        ui.lblTName->setCaption(name);
    if (ui.lblSelectedTopic->text() == oldName)
        ui.lblSelectedTopic->setText(name);
}
