#pragma once

#include "editing/FolderChoiceDialog.h"

class QGridLayout;

// What the two move dialogs share: the captions that read "Move: ... to:
// ..." below the folder tree the target is chosen from.
class MoveDialog : public FolderChoiceDialog
{
    Q_OBJECT

protected:
    MoveDialog(frmSitePins &window, const Texts &texts);

    virtual void tvwTopicList_NodeClick(QTreeWidgetItem *node) = 0;

    // A caption ("Move:") and, beside it, the label that completes it.
    QLabel *addCaption(const char *caption, const char *name, const char *defaultText);
    // Selects the folder tagged `tag` (else the root), names it in `from`
    // unless it is the root, and leaves `to` empty and Save off until a
    // target is chosen.
    void startFrom(const QString &tag, QLabel *from, QLabel *to);
    void enableSave(bool enabled);

private:
    void buildControls();

    QGridLayout *m_captions = nullptr;
};
