#include "finding/HitListEvents.h"

#include "editing/SitePinEditor.h"
#include "layout/CommandSurface.h"
#include "layout/SplitterWidget.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/SitePinListModel.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XmlNode.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>

HitListEvents::HitListEvents(frmSitePins &window, QTreeView *list)
    : m_window(window)
    , m_list(list)
{
    connect(list, &QAbstractItemView::clicked, this, [this] { nodeClick(); });
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
    // The tooltip follows the pointer without a button held down.
    list->viewport()->setMouseTracking(true);
}

bool HitListEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            nodeClick();
            return true;
        }
    } else if (watched == m_list->viewport() &&
               (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        // Only these two are mouse events; the viewport sees every other kind too.
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
            // Handled here entirely: the view would otherwise clear the
            // selection on a press over empty space.
            rightButtonDown(mouse->position().toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseMove)
            mouseMove(mouse->position().toPoint());
    }
    return QObject::eventFilter(watched, event);
}

// A tag that names nothing in the open library (a SitePin removed since the
// list was filled) shows nothing rather than whatever carries it now.
XmlNode HitListEvents::sitePinOf(const QString &tag) const
{
    const XmlNode element = m_window.m_objDOMSitePins.nodeFromID(tag);
    return element.nodeName() == QLatin1String("SITEPIN") ? element : XmlNode();
}

void HitListEvents::nodeClick()
{
    if (!m_window.confirmDiscardChanges())
        return;
    if (!FolderTree::selectedEntry(m_list).isValid())
        return;
    const QString wid = FolderTree::selectedTag(m_list).trimmed();
    if (wid.isEmpty()) {
        m_window.ui().txtTID->setText(QString());
        return;
    }
    if (const XmlNode sitePin = sitePinOf(wid))
        showSitePin(sitePin, wid);
}

void HitListEvents::showSitePin(const XmlNode &sitePin, const QString &wid)
{
    m_window.editor().setFormEditMode(false);
    m_window.detailPanel().displaySitePinElement(sitePin);
    m_window.m_strCurrentWID = wid;
    showFolderOf(sitePin);
}

void HitListEvents::showFolderOf(const XmlNode &sitePin)
{
    frmSitePinsUi &ui = m_window.ui();
    const XmlNode folder = sitePin.parentNode().parentNode();
    const QString tid = folder.getAttribute(QStringLiteral("TID"));
    FolderTree &tree = m_window.folderTree();
    if (const QTreeWidgetItem *node = tree.findNodeByTag(tid, Qt::CaseInsensitive))
        ui.StatusBar1->setPanelText(2, tree.statusPath(node));
    ui.lblTName->setCaption(folder.selectSingleNode(QStringLiteral("NAME")).text());
    ui.txtTID->setText(tid);
}

void HitListEvents::rightButtonDown(const QPoint &position)
{
    const QModelIndex node = m_list->indexAt(position);
    m_window.m_objClickedNode = QPersistentModelIndex(node);
    if (!node.isValid())
        return;
    m_list->setCurrentIndex(node);
    m_list->selectionModel()->select(node, QItemSelectionModel::ClearAndSelect);
    m_window.ui().commands->popupMenu()->popup(m_list->viewport()->mapToGlobal(position));
}

void HitListEvents::mouseMove(const QPoint &position)
{
    const QModelIndex node = m_list->indexAt(position);
    const XmlNode sitePin =
        node.isValid() ? sitePinOf(node.data(SitePinListModel::TagRole).toString().trimmed()) : XmlNode();
    const QString address = sitePin.selectSingleNode(QStringLiteral("ADDRESS")).text();
    // An address is data: "<b>" or "&amp;" in it must show as typed, and on
    // one line.
    m_window.ui().Splitter2->setToolTip(
        address.isEmpty() ? QString()
                          : QStringLiteral("<p style='white-space:pre'>%1</p>").arg(address.toHtmlEscaped()));
}
