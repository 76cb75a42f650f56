#include "editing/MoveCommands.h"

#include "editing/FolderElements.h"
#include "editing/FolderTreeDragDrop.h"
#include "editing/frmMoveSitePin.h"
#include "editing/frmMoveTopic.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/LibraryLimits.h"
#include "store/XmlDocument.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr int kIndexTab = 0;

QString windowTitle()
{
    return QString::fromLatin1(frmSitePins::kWindowTitle);
}

} // namespace

MoveCommands::MoveCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
    , m_dragDrop(std::make_unique<FolderTreeDragDrop>(window, *this))
{
    connect(window.ui().cmdMoveSP, &QPushButton::clicked, this, &MoveCommands::cmdMoveSP_Click);
    connect(window.ui().cmdMoveFolder, &QPushButton::clicked, this, &MoveCommands::cmdMoveFolder_Click);
}

MoveCommands::~MoveCommands() = default;

void MoveCommands::cmdMoveSP_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    if (ui.tabIndex->currentIndex() != kIndexTab)
        return;
    if (!FolderTree::selectedEntry(ui.tvwWM).isValid() || !m_window.detailPanel().isSitePinShown()) {
        m_window.message(QStringLiteral("No SitePin has been selected to move"), windowTitle());
        return;
    }
    frmMoveSitePin dialog(m_window);
    dialog.exec();
}

// The root stands for no folder: with it selected the dialog would have
// nothing to move, even while a search hit's folder is named above.
void MoveCommands::cmdMoveFolder_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    if (ui.tabIndex->currentIndex() != kIndexTab)
        return;
    const FolderTree &tree = m_window.folderTree();
    const QTreeWidgetItem *node = tree.selectedNode();
    if (!node || tree.isRoot(node) || !m_window.detailPanel().isFolderCurrent()) {
        m_window.message(QStringLiteral("No folder has been selected to move"), windowTitle());
        return;
    }
    frmMoveTopic dialog(m_window);
    dialog.exec();
}

bool MoveCommands::isInsideFolder(const QTreeWidgetItem *start, const QString &tid)
{
    for (const QTreeWidgetItem *above = start ? start->parent() : nullptr; above; above = above->parent()) {
        const QString tag = TreeNode::tagOf(above);
        if (tag.isEmpty())
            return false;
        if (tag == tid)
            return true;
    }
    return false;
}

bool MoveCommands::isInOpenLibrary(const XmlNode &element) const
{
    return element && element.isInDocument() && element.ownerDocument() == m_window.m_objDOMSitePins;
}

bool MoveCommands::moveSitePin(const XmlNode &sitePin, const XmlNode &folder)
{
    XmlNode collection = folder.selectSingleNode(QStringLiteral("SITEPINS"));
    if (!collection || !collection.appendChild(sitePin)) {
        refuse(QStringLiteral("The SitePin cannot be moved: the chosen folder cannot hold SitePins."));
        return false;
    }
    m_window.saveLibrary();
    return true;
}

bool MoveCommands::moveFolder(const XmlNode &folder, const XmlNode &target)
{
    for (XmlNode walk = target; walk; walk = walk.parentNode()) {
        if (walk == folder) {
            refuseSubFolderTarget();
            return false;
        }
    }
    const bool toRoot = target == m_window.m_objDOMSitePins.documentElement();
    XmlNode collection = toRoot ? target : target.selectSingleNode(QStringLiteral("SUBFOLDERS"));
    if (!collection) {
        refuse(QStringLiteral("The folder cannot be moved: the chosen folder cannot hold sub-folders."));
        return false;
    }
    // The parser refuses deeper nesting, so the library would not open again.
    if (FolderElements::depthOf(target) + levelsIn(folder) > LibraryLimits::kMaxFolderDepth) {
        refuse(QStringLiteral("The folder cannot be moved there: folders can be nested at most %1 levels deep.")
                   .arg(LibraryLimits::kMaxFolderDepth));
        return false;
    }
    if (!collection.appendChild(folder)) {
        refuseSubFolderTarget();
        return false;
    }
    m_window.saveLibrary();
    return true;
}

int MoveCommands::levelsIn(const XmlNode &folder)
{
    int below = 0;
    for (const XmlNode &sub : folder.selectSingleNode(QStringLiteral("SUBFOLDERS")).childElements())
        below = std::max(below, levelsIn(sub));
    return below + 1;
}

void MoveCommands::refuseSubFolderTarget()
{
    m_window.message(QStringLiteral("A folder cannot be moved to its own sub-folder"));
}

void MoveCommands::refuse(const QString &text)
{
    m_window.message(text, QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                     MessageIcon::Exclamation);
}

void MoveCommands::showTargetFolder(const QString &tid, const QString &movedWid)
{
    frmSitePinsUi &ui = m_window.ui();
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *node = tree.findNodeByTag(tid);
    if (!node)
        return;
    tree.selectNode(node);
    ui.tvwTopics->scrollToItem(node);
    // Judged by identifier: another SitePin of the same name may be on show.
    const bool movedIsShown =
        m_window.detailPanel().isSitePinShown() && m_window.m_strCurrentWID.compare(movedWid, Qt::CaseInsensitive) == 0;
    if (!movedIsShown)
        tree.populateWMOnTopicNode();
    tree.populateSitePinList(node);
    ui.txtTID->setText(tid);
    // The caption names the folder listed, now the target.
    ui.lblSelectedTopic->setText(node->text(0));
}

void MoveCommands::rebuildFolderTree()
{
    frmSitePinsUi &ui = m_window.ui();
    FolderTree &tree = m_window.folderTree();
    ui.tabIndex->setUpdatesEnabled(false);
    tree.populateTopicList(m_window.m_objDOMSitePins);
    // A rebuilt tree has no selection; the folder whose SitePins are listed
    // takes it again, so the folder commands act on what the window shows.
    QTreeWidgetItem *listed =
        m_window.detailPanel().isFolderCurrent() ? tree.findNodeByTag(ui.txtTID->text()) : nullptr;
    if (!listed)
        listed = tree.rootNode();
    tree.selectNode(listed);
    ui.tvwTopics->scrollToItem(listed);
    if (ui.tabIndex->currentIndex() == kIndexTab)
        ui.StatusBar1->setPanelText(2, tree.statusPath(listed));
    ui.tabIndex->setUpdatesEnabled(true);
}
