#pragma once

#include "editing/MoveDialog.h"

#include <QString>

// "Move folder": the folder selected in the folder tree, with everything in
// it, goes below the chosen folder or becomes a base folder.
class frmMoveTopic : public MoveDialog
{
    Q_OBJECT

public:
    explicit frmMoveTopic(frmSitePins &window);

private:
    void Form_Load();
    void tvwTopicList_NodeClick(QTreeWidgetItem *node) override;
    void lblNewFolder_Change();
    void cmdSave_Click() override;

    QLabel *lblCurrentFolder = nullptr;
    QLabel *lblNewFolder = nullptr;
    QString m_strMoveTID;
};
