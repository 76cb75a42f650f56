#pragma once

#include "editing/MoveDialog.h"

// "Move SitePin": the SitePin selected in the folder's list goes to the
// chosen folder.
class frmMoveSitePin : public MoveDialog
{
    Q_OBJECT

public:
    explicit frmMoveSitePin(frmSitePins &window);

private:
    void Form_Load();
    void tvwTopicList_NodeClick(QTreeWidgetItem *node) override;
    void lblNewTopic_Change();
    void cmdSave_Click() override;

    QLabel *lblWMName = nullptr;
    QLabel *lblCurrentTopic = nullptr;
    QLabel *lblNewTopic = nullptr;
};
