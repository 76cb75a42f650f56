#pragma once

#include "editing/FolderChoiceDialog.h"

class QLineEdit;

// What the create and rename dialogs share: the chosen folder's caption and
// a name field below the folder tree.
class FolderNameDialog : public FolderChoiceDialog
{
    Q_OBJECT

public:
    struct Texts : FolderChoiceDialog::Texts
    {
        const char *topicName;
        const char *nameLabel;
    };

protected:
    FolderNameDialog(frmSitePins &window, const Texts &texts);

    virtual void updateFolderLabels() = 0;

    // Preselects the main window's current folder, else the root.
    void loadTopicList();
    void txtTName_Change();
    void makeSaveDefault(bool saveIsDefault);

    QLabel *Label2 = nullptr;
    QLabel *lblTopicName = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtTName = nullptr;

private:
    void buildControls(const Texts &texts);
    void layOutControls();
};
