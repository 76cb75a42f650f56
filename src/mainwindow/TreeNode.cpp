#include "mainwindow/TreeNode.h"

#include "mainwindow/ImageList.h"

TreeNode::TreeNode(const QString &text, const QString &tag, const ImageList &images, const QString &imageKey,
                   const QString &selectedImageKey)
    : QTreeWidgetItem(UserType)
    , m_tag(tag)
    , m_icon(images.pair(imageKey, selectedImageKey))
    , m_imageKey(imageKey)
    , m_selectedImageKey(selectedImageKey)
{
    setText(0, text);
}

QString TreeNode::tag() const
{
    return m_tag;
}

void TreeNode::setTag(const QString &tag)
{
    m_tag = tag;
}

QVariant TreeNode::data(int column, int role) const
{
    if (column == 0 && role == TagRole)
        return m_tag;
    if (column == 0 && role == Qt::DecorationRole)
        return m_icon;
    return QTreeWidgetItem::data(column, role);
}

void TreeNode::setData(int column, int role, const QVariant &value)
{
    if (column == 0 && role == TagRole) {
        m_tag = value.toString();
        return;
    }
    if (column == 0 && role == Qt::DecorationRole) {
        m_icon = value.value<QIcon>();
        emitDataChanged();
        return;
    }
    QTreeWidgetItem::setData(column, role, value);
}

QString TreeNode::tagOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, TagRole).toString() : QString();
}

bool TreeNode::operator<(const QTreeWidgetItem &other) const
{
    const int order = text(0).compare(other.text(0), Qt::CaseInsensitive);
    if (order != 0)
        return order < 0;
    return text(0) < other.text(0);
}

QString TreeNode::fullPath(const QTreeWidgetItem *item)
{
    QStringList parts;
    for (const QTreeWidgetItem *walk = item; walk; walk = walk->parent())
        parts.prepend(walk->text(0));
    return parts.join(QLatin1Char('\\'));
}

void TreeNode::sortChildren(QTreeWidgetItem *item)
{
    if (item && item->childCount() > 1)
        item->sortChildren(0, Qt::AscendingOrder);
}
