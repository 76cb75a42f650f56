#pragma once

#include <QObject>
#include <QString>

#include <memory>

class FolderTreeDragDrop;
class QTreeWidgetItem;
class XmlNode;
class frmSitePins;

// Moving SitePins and folders, by dialog and by drag and drop. An element
// keeps its identifier and content; it becomes the last child of its new
// collection and the library is saved at once.
class MoveCommands : public QObject
{
    Q_OBJECT

public:
    explicit MoveCommands(frmSitePins &window);
    ~MoveCommands() override;

    void cmdMoveSP_Click();
    void cmdMoveFolder_Click();

    // True when a folder above `start` (not `start` itself) carries `tid`;
    // the walk ends at the first node without a tag, the root.
    static bool isInsideFolder(const QTreeWidgetItem *start, const QString &tid);

    // The element is part of the library open now, not of one replaced by
    // File > Open nor removed since.
    bool isInOpenLibrary(const XmlNode &element) const;
    // Appends the SitePin to the folder's SITEPINS and saves.
    bool moveSitePin(const XmlNode &sitePin, const XmlNode &folder);
    // Appends the folder to the target's SUBFOLDERS (to FOLDERS when the
    // target is the document element) and saves; refuses, with the reason
    // shown, a move the library could not hold.
    bool moveFolder(const XmlNode &folder, const XmlNode &target);
    void refuseSubFolderTarget();

    // After a SitePin has moved to the folder `tid` by the dialog: that
    // folder is selected and listed.
    void showTargetFolder(const QString &tid, const QString &movedWid);
    // After a folder has moved: the folder tree is rebuilt and the folder
    // the window lists stays selected, with its new path.
    void rebuildFolderTree();

    FolderTreeDragDrop &dragDrop() { return *m_dragDrop; }

private:
    void refuse(const QString &text);
    static int levelsIn(const XmlNode &folder);

    frmSitePins &m_window;
    std::unique_ptr<FolderTreeDragDrop> m_dragDrop;
};
