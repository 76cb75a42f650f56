#pragma once

#include "store/XmlDocument.h"

#include <QDialog>

class QLabel;
class QLayout;
class QPushButton;
class QTreeWidgetItem;
class TopicListTree;
class frmSitePins;

// What every dialog that has the user choose a folder of the library
// shares: an instruction above a folder tree, what the choice is for below
// it, Save and Cancel. The dialog writes the library and brings the main
// window up to date itself before it closes.
class FolderChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    struct Texts
    {
        const char *objectName;
        const char *caption;
        const char *instruction;
    };

protected:
    FolderChoiceDialog(frmSitePins &window, const Texts &texts);

    virtual void cmdSave_Click() = 0;

    // Made in the order the tab order follows where it is not set.
    QLabel *addInstruction(const QString &name);
    void addTopicList();
    void addSaveAndCancel();
    // The instruction, the tree, `choice` below the tree, the buttons.
    void layOut(QLayout *choice);

    // Fills the tree from the main window's library and selects the node
    // tagged `tag`, else the root.
    void fillTopicList(const QString &tag);
    QTreeWidgetItem *chosenNode() const;
    bool isRootChosen() const;
    void refuse(const QString &text);
    void applyFontFallback();

    frmSitePins &m_window;
    XmlDocument m_objDOMSitePins;
    TopicListTree *tvwTopicList = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdCancel = nullptr;

private:
    QString m_instructionText;
    QLabel *m_instruction = nullptr;
};
