#pragma once

#include "store/XmlDocument.h"

#include <QDialog>

class QGridLayout;
class QLabel;
class QPushButton;
class QTreeWidgetItem;
class TopicListTree;
class frmSitePins;

// What the two move dialogs share: an instruction, a folder tree to choose
// the target from, the captions that read "Move: ... to: ...", Save and
// Cancel. The dialog moves the element, saves the library and brings the
// main window up to date itself before it closes.
class MoveDialog : public QDialog
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
    MoveDialog(frmSitePins &window, const Texts &texts);

    virtual void tvwTopicList_NodeClick(QTreeWidgetItem *node) = 0;
    virtual void cmdSave_Click() = 0;

    // A caption ("Move:") and, beside it, the label that completes it.
    QLabel *addCaption(const char *caption, const char *name, const char *defaultText);
    // Fills the tree from the main window's library and selects the node
    // tagged `tag`, else the root.
    void loadTopicList(const QString &tag);
    void enableSave(bool enabled);
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
    void buildControls(const Texts &texts);

    QGridLayout *m_captions = nullptr;
};
