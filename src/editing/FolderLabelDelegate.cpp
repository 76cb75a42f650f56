#include "editing/FolderLabelDelegate.h"

#include "mainwindow/TreeNode.h"

#include <QLineEdit>

FolderLabelDelegate::FolderLabelDelegate(EditRule mayEdit, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_mayEdit(std::move(mayEdit))
{
}

QWidget *FolderLabelDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const
{
    if (!m_mayEdit(index))
        return nullptr;
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void FolderLabelDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    if (const auto *line = qobject_cast<QLineEdit *>(editor))
        emit labelEdited(index.data(TreeNode::TagRole).toString(), line->text());
}
