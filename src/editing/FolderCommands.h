#pragma once

#include <QObject>

class QModelIndex;
class QTreeWidgetItem;
class frmSitePins;

// Creating and renaming folders, by dialog and in place in the folder tree.
class FolderCommands : public QObject
{
    Q_OBJECT

public:
    explicit FolderCommands(frmSitePins &window);

    void mnuAddTopic_Click();
    void mnuEditModifyTopic_Click();
    // After a label edit of the folder tree's node tagged `tag`.
    void tvwTopics_AfterLabelEdit(const QString &tag, const QString &newText);
    // Shows a folder's stored name on its main tree node, in its sorted
    // place, and in the captions when it is the current folder.
    void showFolderName(QTreeWidgetItem *node, const QString &name);

private:
    void enableLabelEditing();
    bool mayEditLabel(const QModelIndex &index) const;

    frmSitePins &m_window;
};
