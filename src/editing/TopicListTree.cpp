#include "editing/TopicListTree.h"

#include "mainwindow/TreeNode.h"
#include "store/XmlDocument.h"

#include <QHeaderView>

namespace {

QTreeWidgetItem *firstTagged(QTreeWidgetItem *node, const QString &tag)
{
    if (TreeNode::tagOf(node) == tag)
        return node;
    for (int i = 0; i < node->childCount(); ++i) {
        if (QTreeWidgetItem *found = firstTagged(node->child(i), tag))
            return found;
    }
    return nullptr;
}

} // namespace

TopicListTree::TopicListTree(QWidget *parent)
    : QTreeWidget(parent)
    , m_images(ImageList::folderImages())
{
    setObjectName(QStringLiteral("tvwTopicList"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    header()->setStretchLastSection(true);
    // Sub-folders keep document order until their folder is first opened.
    connect(this, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem *node) { TreeNode::sortChildren(node); });
    connect(this, &QTreeWidget::currentItemChanged, this, &TopicListTree::onCurrentItemChanged);
    connect(this, &QTreeWidget::itemClicked, this, &TopicListTree::onItemClicked);
}

void TopicListTree::populateMyTopicList(const XmlDocument &dom)
{
    const QSignalBlocker quiet(this);
    clear();
    m_reported = nullptr;
    const XmlNode root = dom.documentElement();
    if (!root)
        return;
    auto *rootNode =
        new TreeNode(root.nodeName(), QString(), m_images, QStringLiteral("RootClosed"), QStringLiteral("RootOpen"));
    addTopLevelItem(rootNode);
    for (const XmlNode &folder : root.childElements())
        addFolderNode(folder, rootNode);
    rootNode->setExpanded(true);
    TreeNode::sortChildren(rootNode);
}

void TopicListTree::addFolderNode(const XmlNode &folder, QTreeWidgetItem *parent)
{
    const QString tag = folder.hasAttributes() ? folder.getAttribute(QStringLiteral("TID")) : QString();
    auto *node = new TreeNode(folder.selectSingleNode(QStringLiteral("NAME")).nodeTypedValue(), tag, m_images,
                              QStringLiteral("ClosedFolder"), QStringLiteral("OpenFolder"));
    parent->addChild(node);
    for (const XmlNode &sub : folder.selectSingleNode(QStringLiteral("SUBFOLDERS")).childElements())
        addFolderNode(sub, node);
}

QTreeWidgetItem *TopicListTree::rootNode() const
{
    return topLevelItem(0);
}

bool TopicListTree::isRoot(const QTreeWidgetItem *node) const
{
    return node && node == rootNode();
}

QTreeWidgetItem *TopicListTree::selectedNode() const
{
    return currentItem();
}

QTreeWidgetItem *TopicListTree::findNodeByTag(const QString &tag) const
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (QTreeWidgetItem *found = firstTagged(topLevelItem(i), tag))
            return found;
    }
    return nullptr;
}

void TopicListTree::selectNode(QTreeWidgetItem *node)
{
    if (!node)
        return;
    m_selectingInCode = true;
    setCurrentItem(node);
    node->setSelected(true);
    scrollToItem(node);
    m_selectingInCode = false;
    m_reported = nullptr;
}

void TopicListTree::selectByTag(const QString &tid)
{
    selectNode(rootNode());
    selectNode(findNodeByTag(tid));
}

void TopicListTree::onCurrentItemChanged(QTreeWidgetItem *current)
{
    if (current && !m_selectingInCode)
        reportChoice(current);
}

void TopicListTree::onItemClicked(QTreeWidgetItem *node)
{
    if (node != m_reported)
        reportChoice(node);
}

void TopicListTree::reportChoice(QTreeWidgetItem *node)
{
    m_reported = node;
    emit nodeChosen(node);
}
