#pragma once

#include <QTreeWidgetItem>

class ImageList;

// A node of the folder tree or of a SitePin list. Its tag is the
// identifier of the folder or SitePin it stands for; nodes sort by text
// without regard to case, like the classic tree control.
class TreeNode : public QTreeWidgetItem
{
public:
    static constexpr int TagRole = Qt::UserRole;
    static constexpr int ImageKeyRole = Qt::UserRole + 1;
    static constexpr int SelectedImageKeyRole = Qt::UserRole + 2;

    TreeNode(const QString &text, const QString &tag, const ImageList &images, const QString &imageKey,
             const QString &selectedImageKey);

    QString tag() const;
    void setTag(const QString &tag);
    static QString tagOf(const QTreeWidgetItem *item);

    bool operator<(const QTreeWidgetItem &other) const override;

    // The node's full path: the texts from the top down, joined by "\".
    static QString fullPath(const QTreeWidgetItem *item);
    // Sorts only the node's own children; deeper levels keep their order.
    static void sortChildren(QTreeWidgetItem *item);
};
