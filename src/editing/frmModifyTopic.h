#pragma once

#include "editing/FolderNameDialog.h"

// "Modify folder": a new name for the chosen folder.
class frmModifyTopic : public FolderNameDialog
{
    Q_OBJECT

public:
    // The name field's text is selected over at most this many characters.
    static constexpr int kSelectedLength = 100;

    explicit frmModifyTopic(frmSitePins &window);

private:
    void Form_Load();
    void updateFolderLabels() override;
    void cmdSave_Click() override;
};
