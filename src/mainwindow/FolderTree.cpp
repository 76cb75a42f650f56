#include "mainwindow/FolderTree.h"

#include "editing/SitePinEditor.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/SitePinListModel.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

FolderTree::FolderTree(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    connectEvents();
}

void FolderTree::connectEvents()
{
    frmSitePinsUi &ui = m_window.ui();
    connect(ui.tvwTopics, &QTreeWidget::itemClicked, this, [this] { tvwTopics_NodeClick(); });
    connect(ui.tvwTopics, &QTreeWidget::itemExpanded, this, &FolderTree::tvwTopics_Expand);
    connect(ui.tvwTopics, &QTreeWidget::itemCollapsed, this, &FolderTree::tvwTopics_Collapse);
    connect(ui.tvwWM, &QAbstractItemView::clicked, this, [this] { tvwWM_NodeClick(); });
    ui.tvwTopics->installEventFilter(this);
    ui.tvwWM->installEventFilter(this);
}

bool FolderTree::eventFilter(QObject *watched, QEvent *event)
{
    frmSitePinsUi &ui = m_window.ui();
    if (event->type() == QEvent::KeyRelease && watched == ui.tvwTopics) {
        // Walking the tree with the keyboard picks folders as a click does.
        if (isNavigationKey(static_cast<QKeyEvent *>(event)->key()))
            tvwTopics_NodeClick();
    } else if (event->type() == QEvent::KeyPress && watched == ui.tvwWM) {
        if (isEnterKey(static_cast<QKeyEvent *>(event)->key())) {
            m_window.detailPanel().displayWM();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

TreeNode *FolderTree::makeFolderNode(const XmlNode &folder) const
{
    const QString tag = folder.hasAttributes() ? folder.getAttribute(QStringLiteral("TID")) : QString();
    auto *node = new TreeNode(folder.selectSingleNode(QStringLiteral("NAME")).nodeTypedValue(), tag,
                              m_window.ui().ImageListTVW, QStringLiteral("ClosedFolder"), QStringLiteral("OpenFolder"));
    node->setFlags(node->flags() | Qt::ItemIsEditable); // renamed in place; the root never is
    return node;
}

void FolderTree::populateTopicList(const XmlDocument &dom)
{
    QTreeWidget *tree = m_window.ui().tvwTopics;
    const QSignalBlocker quiet(tree); // building expands nodes; that is not the user opening them
    tree->setUpdatesEnabled(false);
    tree->clear();
    const XmlNode root = dom.documentElement();
    auto *rootNode = new TreeNode(root.nodeName(), QString(), m_window.ui().ImageListTVW, QStringLiteral("RootClosed"),
                                  QStringLiteral("RootOpen"));
    tree->addTopLevelItem(rootNode);
    for (const XmlNode &folder : root.childElements())
        addFolderNode(folder, rootNode, false);
    rootNode->setExpanded(true);
    TreeNode::sortChildren(rootNode);
    tree->setUpdatesEnabled(true);
    if (tree->isHidden())
        tree->show();
}

// Showing a new node opens every node above it; after its sub-folders are
// added a node is left open or closed as `expand` says. The end state is
// set directly rather than by scrolling to each node, which is slow on
// large trees.
QTreeWidgetItem *FolderTree::addFolderNode(const XmlNode &folder, QTreeWidgetItem *parent, bool expand)
{
    TreeNode *node = makeFolderNode(folder);
    parent->addChild(node);
    for (QTreeWidgetItem *above = parent; above; above = above->parent())
        above->setExpanded(true);
    for (const XmlNode &sub : folder.selectSingleNode(QStringLiteral("SUBFOLDERS")).childElements()) {
        addFolderNode(sub, node, expand);
        node->setExpanded(expand);
    }
    return node;
}

void FolderTree::populateSitePinList(QTreeWidgetItem *objSelNode)
{
    if (!objSelNode || TreeNode::tagOf(objSelNode).trimmed().isEmpty())
        return;
    frmSitePinsUi &ui = m_window.ui();
    const QString tag = TreeNode::tagOf(objSelNode);
    const XmlNode folder = m_window.m_objDOMSitePins.nodeFromID(tag);
    ui.tvwWM->hide();
    fillSitePinList(m_window.textIndex().rowsInFolder(m_window.m_objDOMSitePins, folder));
    ui.tvwWM->show();
    ui.lblTName->setCaption(folder ? folder.selectSingleNode(QStringLiteral("NAME")).nodeTypedValue()
                                   : objSelNode->text(0));
    ui.txtTID->setText(tag);
}

// Refilling keeps the SitePin on display selected.
void FolderTree::fillSitePinList(std::vector<SitePinRow> rows)
{
    frmSitePinsUi &ui = m_window.ui();
    ui.wmModel->fill(std::move(rows));
    const int match = ui.wmModel->lastAddedNamed(ui.txtWName->text());
    if (match >= 0) {
        ui.tvwWM->setCurrentIndex(ui.wmModel->index(match));
        ui.tvwWM->scrollTo(ui.wmModel->index(match));
    }
}

void FolderTree::populateWMOnTopicNode()
{
    frmSitePinsUi &ui = m_window.ui();
    QTreeWidgetItem *node = selectedNode();
    if (node && !isRoot(node)) {
        if (m_window.m_blnEditMode)
            ui.lblTName->setCaption(node->text(0));
        else
            m_window.editor().clearSitePinDisplay(false);
        populateSitePinList(node);
        ui.txtTID->setText(TreeNode::tagOf(node));
        ui.lblSelectedTopic->setText(node->text(0));
        return;
    }
    ui.lblSelectedTopic->setText(QString::fromLatin1(kNoFolder));
    ui.lblTName->setCaption(QStringLiteral("No folder selected"));
    clearList(ui.tvwWM);
}

QTreeWidgetItem *FolderTree::rootNode() const
{
    return m_window.ui().tvwTopics->topLevelItem(0);
}

bool FolderTree::isRoot(const QTreeWidgetItem *node) const
{
    return node && node == rootNode();
}

QTreeWidgetItem *FolderTree::selectedNode() const
{
    return m_window.ui().tvwTopics->currentItem();
}

void FolderTree::selectNode(QTreeWidgetItem *node)
{
    QTreeWidget *tree = m_window.ui().tvwTopics;
    tree->setCurrentItem(node);
    if (node)
        node->setSelected(true);
}

void FolderTree::selectRoot()
{
    selectNode(rootNode());
}

QTreeWidgetItem *FolderTree::findNodeByTag(const QString &tag, Qt::CaseSensitivity cs) const
{
    QTreeWidgetItemIterator it(m_window.ui().tvwTopics);
    for (; *it; ++it) {
        if (TreeNode::tagOf(*it).compare(tag, cs) == 0)
            return *it;
    }
    return nullptr;
}

QString FolderTree::statusPath(const QTreeWidgetItem *node) const
{
    QString path = TreeNode::fullPath(node).mid(7); // the root's text, "FOLDERS"
    return path.replace(QLatin1Char('\\'), QStringLiteral(" -> "));
}

QModelIndex FolderTree::selectedEntry(const QAbstractItemView *list)
{
    const QModelIndex current = list->currentIndex();
    if (current.isValid() && list->selectionModel()->isSelected(current))
        return current;
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.front();
}

QString FolderTree::selectedTag(const QAbstractItemView *list)
{
    return selectedEntry(list).data(SitePinListModel::TagRole).toString();
}

void FolderTree::clearList(QAbstractItemView *list)
{
    static_cast<SitePinListModel *>(list->model())->clear();
}

void FolderTree::tvwTopics_NodeClick()
{
    QTreeWidgetItem *node = selectedNode();
    if (!node || isRoot(node))
        return;
    node->setSelected(true);
    populateWMOnTopicNode();
    m_window.ui().txtTID->setText(TreeNode::tagOf(node));
    m_window.ui().tvwWM->clearSelection();
}

void FolderTree::tvwTopics_Expand(QTreeWidgetItem *node)
{
    TreeNode::sortChildren(node);
}

void FolderTree::tvwTopics_Collapse(QTreeWidgetItem *node)
{
    frmSitePinsUi &ui = m_window.ui();
    if (isRoot(node)) {
        clearList(ui.tvwWM);
        ui.lblSelectedTopic->setText(QString::fromLatin1(kNoFolder));
        return;
    }
    const QTreeWidgetItem *selected = selectedNode();
    if (selected && node->text(0).compare(selected->text(0), Qt::CaseInsensitive) == 0 &&
        node->text(0) != ui.lblSelectedTopic->text())
        populateWMOnTopicNode();
}

void FolderTree::tvwWM_NodeClick()
{
    QTreeView *list = m_window.ui().tvwWM;
    const QModelIndex entry = list->currentIndex();
    if (entry.isValid() && !list->selectionModel()->isSelected(entry))
        list->selectionModel()->select(entry, QItemSelectionModel::ClearAndSelect);
    m_window.detailPanel().displayWM();
}
