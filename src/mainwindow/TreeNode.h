#pragma once

#include <QIcon>
#include <QTreeWidgetItem>

class ImageList;

// A node of the folder tree or of a SitePin list. Its tag is the
// identifier of the folder or SitePin it stands for; nodes sort by text
// without regard to case, like the classic tree control.
class TreeNode : public QTreeWidgetItem
{
public:
    static constexpr int TagRole = Qt::UserRole;

    TreeNode(const QString &text, const QString &tag, const ImageList &images, const QString &imageKey,
             const QString &selectedImageKey);

    QString tag() const;
    QString imageKey() const { return m_imageKey; }
    QString selectedImageKey() const { return m_selectedImageKey; }
    void setTag(const QString &tag);
    static QString tagOf(const QTreeWidgetItem *item);

    bool operator<(const QTreeWidgetItem &other) const override;
    QVariant data(int column, int role) const override;
    void setData(int column, int role, const QVariant &value) override;

    // The node's full path: the texts from the top down, joined by "\".
    static QString fullPath(const QTreeWidgetItem *item);
    // Sorts only the node's own children; deeper levels keep their order.
    static void sortChildren(QTreeWidgetItem *item);

private:
    // Kept beside the item rather than as item data: lists hold tens of
    // thousands of nodes, and every piece of item data costs allocations.
    QString m_tag;
    QIcon m_icon;
    QString m_imageKey;
    QString m_selectedImageKey;
};
