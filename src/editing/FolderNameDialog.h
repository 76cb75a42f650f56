#pragma once

#include "store/XmlDocument.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;
class TopicListTree;
class frmSitePins;

// What the create and rename dialogs share: a folder tree to choose from,
// the chosen folder's caption, a name field, Save and Cancel. The dialog
// writes the library and updates the main window itself before it closes.
class FolderNameDialog : public QDialog
{
    Q_OBJECT

public:
    struct Texts
    {
        const char *objectName;
        const char *caption;
        const char *instruction;
        const char *topicName;
        const char *nameLabel;
    };

protected:
    FolderNameDialog(frmSitePins &window, const Texts &texts);

    virtual void updateFolderLabels() = 0;
    virtual void cmdSave_Click() = 0;

    // Fills the tree from the main window's library and preselects the
    // main window's current folder, else the root.
    void loadTopicList();
    void applyFontFallback();
    void txtTName_Change();
    void makeSaveDefault(bool saveIsDefault);
    QTreeWidgetItem *chosenNode() const;
    bool isRootChosen() const;
    void refuse(const QString &text);

    frmSitePins &m_window;
    XmlDocument m_objDOMSitePins;
    TopicListTree *tvwTopicList = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblTopicName = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtTName = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    void buildControls(const Texts &texts);
    void layOutControls();
};
