#include "editing/FolderTreeDragDrop.h"

#include "editing/FolderElements.h"
#include "editing/MoveCommands.h"
#include "editing/SitePinEditor.h"
#include "layout/CommandSurface.h"
#include "layout/SplitterWidget.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/SitePinListModel.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XmlDocument.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeWidget>

#include <memory>

FolderTreeDragDrop::FolderTreeDragDrop(frmSitePins &window, MoveCommands &moves)
    : m_window(window)
    , m_moves(moves)
    , m_runDrag([](QDrag &drag) { drag.exec(Qt::MoveAction); })
{
    frmSitePinsUi &ui = window.ui();
    for (QTreeView *tree : {static_cast<QTreeView *>(ui.tvwWM), static_cast<QTreeView *>(ui.tvwTopics)}) {
        tree->viewport()->installEventFilter(this);
        // The hovered SitePin's address follows the pointer.
        tree->viewport()->setMouseTracking(true);
    }
}

bool FolderTreeDragDrop::isBrowsing() const
{
    return m_window.ui().txtMode->text().isEmpty();
}

bool FolderTreeDragDrop::eventFilter(QObject *watched, QEvent *event)
{
    frmSitePinsUi &ui = m_window.ui();
    QTreeView *tree = watched == ui.tvwWM->viewport()       ? ui.tvwWM
                      : watched == ui.tvwTopics->viewport() ? static_cast<QTreeView *>(ui.tvwTopics)
                                                            : nullptr;
    if (!tree)
        return QObject::eventFilter(watched, event);
    const bool onTopics = tree == ui.tvwTopics;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return mousePress(tree, *static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return mouseMove(tree, *static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        return mouseRelease();
    case QEvent::DragEnter:
        return onTopics && dragOver(*static_cast<QDragMoveEvent *>(event), true);
    case QEvent::DragMove:
        return onTopics && dragOver(*static_cast<QDragMoveEvent *>(event), false);
    case QEvent::DragLeave:
        clearDropHighlight();
        return onTopics;
    case QEvent::Drop:
        return onTopics && drop(*static_cast<QDropEvent *>(event));
    default:
        return QObject::eventFilter(watched, event);
    }
}

// The view still selects the pressed node; a drag may start from it.
bool FolderTreeDragDrop::mousePress(QTreeView *tree, const QMouseEvent &press)
{
    const QPoint position = press.position().toPoint();
    m_swallowRelease = false;
    m_pressedTree = nullptr;
    if (tree == m_window.ui().tvwWM && press.button() == Qt::RightButton) {
        tvwWM_RightButtonDown(position);
        return true;
    }
    const QModelIndex node = tree->indexAt(position);
    const bool isRoot =
        tree == m_window.ui().tvwTopics && m_window.folderTree().isRoot(m_window.ui().tvwTopics->itemFromIndex(node));
    if (press.button() == Qt::LeftButton && node.isValid() && isBrowsing() && !isRoot) {
        m_pressedTree = tree;
        m_pressPosition = position;
    }
    return false;
}

// While the button is held over a node that can be dragged, the view sees
// no moves: it would otherwise drag its selection to a neighbouring row.
bool FolderTreeDragDrop::mouseMove(QTreeView *tree, const QMouseEvent &move)
{
    const QPoint position = move.position().toPoint();
    if (tree != m_pressedTree || !(move.buttons() & Qt::LeftButton)) {
        showAddressTip(tree, position);
        return false;
    }
    if ((position - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return true;
    m_pressedTree = nullptr;
    runDrag(tree);
    return true;
}

// A release after a drag must not reach the view as a click on the pressed
// node, which on a selected folder starts a rename: some platforms hand the
// release that ended the drag back to the window, and after a drag
// cancelled with Escape the button's release arrives as usual.
bool FolderTreeDragDrop::mouseRelease()
{
    m_pressedTree = nullptr;
    if (!m_swallowRelease)
        return false;
    m_swallowRelease = false;
    return true;
}

void FolderTreeDragDrop::showAddressTip(QTreeView *tree, const QPoint &position)
{
    frmSitePinsUi &ui = m_window.ui();
    QString tip;
    if (tree == ui.tvwWM) {
        const QString tag = tree->indexAt(position).data(SitePinListModel::TagRole).toString();
        const XmlNode sitePin = tag.isEmpty() ? XmlNode() : m_window.m_objDOMSitePins.nodeFromID(tag);
        const QString address = sitePin.nodeName() == QLatin1String("SITEPIN")
                                    ? sitePin.selectSingleNode(QStringLiteral("ADDRESS")).text()
                                    : QString();
        // An address is data, shown as typed and on one line.
        if (!address.isEmpty())
            tip = QStringLiteral("<p style='white-space:pre'>%1</p>").arg(address.toHtmlEscaped());
    }
    ui.Splitter1->setToolTip(tip);
}

void FolderTreeDragDrop::tvwWM_RightButtonDown(const QPoint &position)
{
    QTreeView *list = m_window.ui().tvwWM;
    const QModelIndex node = list->indexAt(position);
    m_window.m_objClickedNode = QPersistentModelIndex(node);
    if (!node.isValid())
        return;
    list->setCurrentIndex(node);
    list->selectionModel()->select(node, QItemSelectionModel::ClearAndSelect);
    m_window.ui().commands->popupMenu()->popup(list->viewport()->mapToGlobal(position));
}

bool FolderTreeDragDrop::startSitePinDrag()
{
    if (!isBrowsing())
        return false;
    const QString wid = FolderTree::selectedTag(m_window.ui().tvwWM).trimmed();
    const XmlNode sitePin = wid.isEmpty() ? XmlNode() : m_window.m_objDOMSitePins.nodeFromID(wid);
    if (sitePin.nodeName() != QLatin1String("SITEPIN"))
        return false;
    forgetDrag();
    m_strDragKind = QString::fromLatin1(kSitePin);
    m_objDragSitePin = sitePin;
    m_strDragSourceTID = sitePin.parentNode().parentNode().getAttribute(QStringLiteral("TID"));
    m_window.ui().tvwTopics->viewport()->setAcceptDrops(true);
    return true;
}

bool FolderTreeDragDrop::startFolderDrag()
{
    if (!isBrowsing())
        return false;
    const FolderTree &tree = m_window.folderTree();
    const QTreeWidgetItem *node = tree.selectedNode();
    if (!node || tree.isRoot(node))
        return false;
    const QString tid = TreeNode::tagOf(node);
    const XmlNode folder = tid.isEmpty() ? XmlNode() : FolderElements::byTid(m_window.m_objDOMSitePins, tid);
    if (!folder)
        return false;
    forgetDrag();
    m_strDragKind = QString::fromLatin1(kFolder);
    m_objDragFolder = folder;
    m_strDragTID = tid;
    m_window.ui().tvwTopics->viewport()->setAcceptDrops(true);
    return true;
}

void FolderTreeDragDrop::forgetDrag()
{
    m_strDragKind.clear();
    m_objDragSitePin = XmlNode();
    m_strDragSourceTID.clear();
    m_objDragFolder = XmlNode();
    m_strDragTID.clear();
}

// The drop is carried out once the platform's drag loop has ended: a
// message box or a rebuilt tree inside that loop is asking for trouble.
void FolderTreeDragDrop::runDrag(QTreeView *tree)
{
    const bool sitePin = tree == m_window.ui().tvwWM;
    if (!(sitePin ? startSitePinDrag() : startFolderDrag()))
        return;
    const QModelIndex node = sitePin ? FolderTree::selectedEntry(tree)
                                     : m_window.ui().tvwTopics->indexFromItem(m_window.folderTree().selectedNode());
    auto *drag = new QDrag(tree);
    auto mime = std::make_unique<QMimeData>();
    mime->setData(QString::fromLatin1(kMimeType), m_strDragKind.toUtf8());
    drag->setMimeData(mime.release());
    const QRect row = tree->visualRect(node);
    drag->setPixmap(tree->viewport()->grab(row));
    // Below and right of the pointer, so the row under it, the drop
    // highlight, stays in sight.
    drag->setHotSpot(QPoint(-12, -(row.height() / 2 + 2)));

    m_pendingDrop = QPersistentModelIndex();
    m_dragging = true;
    m_runDrag(*drag);
    m_dragging = false;
    m_swallowRelease = true;
    clearDropHighlight();
    drag->deleteLater();
    if (!m_pendingDrop.isValid()) {
        forgetDrag(); // cancelled, or dropped elsewhere
        return;
    }
    QTreeWidgetItem *target = m_window.ui().tvwTopics->itemFromIndex(m_pendingDrop);
    m_pendingDrop = QPersistentModelIndex();
    dropOnFolder(target);
}

// Only a drag this window started, so a drop from elsewhere never replays
// the last drag.
bool FolderTreeDragDrop::acceptsDrag(const QDropEvent &event) const
{
    return m_dragging && isBrowsing() && !m_strDragKind.isEmpty() && event.mimeData() &&
           event.mimeData()->hasFormat(QString::fromLatin1(kMimeType));
}

bool FolderTreeDragDrop::dragOver(QDragMoveEvent &event, bool entering)
{
    if (!acceptsDrag(event)) {
        event.ignore();
        return true;
    }
    QTreeWidgetItem *node = m_window.ui().tvwTopics->itemAt(event.position().toPoint());
    setDropHighlight(node);
    // Entering over empty space must be accepted too, or no move follows.
    if (node || entering) {
        event.setDropAction(Qt::MoveAction);
        event.accept();
    } else {
        event.ignore();
    }
    return true;
}

bool FolderTreeDragDrop::drop(QDropEvent &event)
{
    clearDropHighlight();
    QTreeWidget *topics = m_window.ui().tvwTopics;
    QTreeWidgetItem *node = topics->itemAt(event.position().toPoint());
    if (!acceptsDrag(event) || !node) {
        event.ignore();
        return true;
    }
    event.setDropAction(Qt::MoveAction);
    event.accept();
    m_pendingDrop = QPersistentModelIndex(topics->indexFromItem(node));
    return true;
}

void FolderTreeDragDrop::dropOnFolder(QTreeWidgetItem *target)
{
    if (isBrowsing() && target && !m_strDragKind.isEmpty()) {
        m_window.folderTree().selectNode(target);
        if (m_strDragKind == QLatin1String(kFolder))
            dropFolder(target);
        else
            dropSitePin(target);
    }
    // A drop ends its drag: nothing recorded for it can be dropped again.
    forgetDrag();
    clearDropHighlight();
}

void FolderTreeDragDrop::dropSitePin(QTreeWidgetItem *target)
{
    FolderTree &tree = m_window.folderTree();
    if (tree.isRoot(target))
        return;
    const XmlNode folder = FolderElements::byTid(m_window.m_objDOMSitePins, TreeNode::tagOf(target));
    if (!m_moves.isInOpenLibrary(m_objDragSitePin) || !m_moves.isInOpenLibrary(folder))
        return;
    if (!m_moves.moveSitePin(m_objDragSitePin, folder))
        return;
    m_window.editor().clearSitePinDisplay(false);
    // The view stays on the folder the SitePin came from.
    if (QTreeWidgetItem *source = sourceFolderNode())
        tree.selectNode(source);
    tree.populateSitePinList(tree.selectedNode());
}

// Where the dragged SitePin was filed; the listed folder for one whose
// folder carries no identifier.
QTreeWidgetItem *FolderTreeDragDrop::sourceFolderNode() const
{
    const FolderTree &tree = m_window.folderTree();
    for (const QString &tid : {m_strDragSourceTID, m_window.ui().txtTID->text()}) {
        if (QTreeWidgetItem *node = tid.isEmpty() ? nullptr : tree.findNodeByTag(tid, Qt::CaseInsensitive))
            return node;
    }
    return nullptr;
}

void FolderTreeDragDrop::dropFolder(QTreeWidgetItem *target)
{
    if (TreeNode::tagOf(target) == m_strDragTID || !m_moves.isInOpenLibrary(m_objDragFolder))
        return;
    const bool toRoot = m_window.folderTree().isRoot(target);
    if (!toRoot && MoveCommands::isInsideFolder(target, m_strDragTID)) {
        clearDropHighlight();
        m_moves.refuseSubFolderTarget();
        return;
    }
    const XmlDocument &dom = m_window.m_objDOMSitePins;
    const XmlNode targetElement = toRoot ? dom.documentElement() : FolderElements::byTid(dom, TreeNode::tagOf(target));
    if (!m_moves.isInOpenLibrary(targetElement) || !m_moves.moveFolder(m_objDragFolder, targetElement))
        return;
    m_moves.rebuildFolderTree();
}

QTreeWidgetItem *FolderTreeDragDrop::dropHighlight() const
{
    return m_highlight.isValid() ? m_window.ui().tvwTopics->itemFromIndex(m_highlight) : nullptr;
}

// The node under the pointer is painted as selected, apart from the real
// selection, which the drop itself moves.
void FolderTreeDragDrop::setDropHighlight(QTreeWidgetItem *node)
{
    if (node && node == dropHighlight())
        return;
    clearDropHighlight();
    if (!node)
        return;
    const QPalette palette = m_window.ui().tvwTopics->palette();
    node->setData(0, Qt::BackgroundRole, palette.brush(QPalette::Active, QPalette::Highlight));
    node->setData(0, Qt::ForegroundRole, palette.brush(QPalette::Active, QPalette::HighlightedText));
    m_highlight = QPersistentModelIndex(m_window.ui().tvwTopics->indexFromItem(node));
}

void FolderTreeDragDrop::clearDropHighlight()
{
    if (QTreeWidgetItem *node = dropHighlight()) {
        node->setData(0, Qt::BackgroundRole, QVariant());
        node->setData(0, Qt::ForegroundRole, QVariant());
    }
    m_highlight = QPersistentModelIndex();
}
