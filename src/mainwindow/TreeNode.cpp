#include "mainwindow/TreeNode.h"

#include "mainwindow/ImageList.h"

TreeNode::TreeNode(const QString &text, const QString &tag, const ImageList &images, const QString &imageKey,
                   const QString &selectedImageKey)
    : QTreeWidgetItem(UserType)
{
    setText(0, text);
    setTag(tag);
    setData(0, ImageKeyRole, imageKey);
    setData(0, SelectedImageKeyRole, selectedImageKey);
    setIcon(0, images.pair(imageKey, selectedImageKey));
}

QString TreeNode::tag() const
{
    return data(0, TagRole).toString();
}

void TreeNode::setTag(const QString &tag)
{
    setData(0, TagRole, tag);
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
