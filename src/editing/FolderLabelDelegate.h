#pragma once

#include <QStyledItemDelegate>

#include <functional>

// Label editing in the main folder tree. A finished edit is reported, not
// written into the node: the library decides what the node then shows, and
// a node text set by the program is never mistaken for the user's edit.
class FolderLabelDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using EditRule = std::function<bool(const QModelIndex &)>;

    FolderLabelDelegate(EditRule mayEdit, QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    // The node's tag and the text as typed.
    void labelEdited(const QString &tag, const QString &text) const;

private:
    EditRule m_mayEdit;
};
