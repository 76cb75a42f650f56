#pragma once

#include "editing/FolderNameDialog.h"

class XmlNode;

// "Create folder": a new base folder, or a sub-folder of the chosen folder.
class frmTopicDialog : public FolderNameDialog
{
    Q_OBJECT

public:
    explicit frmTopicDialog(frmSitePins &window);

private:
    void Form_Load();
    void updateFolderLabels() override;
    void cmdSave_Click() override;
    // The SUBFOLDERS (or FOLDERS) the new folder goes into; null, with the
    // reason shown, when no folder may be created there.
    XmlNode targetCollection(const QString &parentTag);
    void showInMainTree(const QString &parentTag, const XmlNode &folder);
};
