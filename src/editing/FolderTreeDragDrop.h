#pragma once

#include "store/XmlNode.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>

#include <functional>

class MoveCommands;
class QDrag;
class QDragMoveEvent;
class QDropEvent;
class QMouseEvent;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class frmSitePins;

// Drag and drop onto the folder tree tvwTopics: a SitePin dragged from the
// list tvwWM goes into the folder it is dropped on, a folder dragged within
// the tree goes below it. Only while browsing. The plain views are
// watched through their viewports, so the editor's press handling and the
// in-place rename keep working: a press that becomes a drag renames nothing.
class FolderTreeDragDrop : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kMimeType = "application/x-sitepins-move";
    static constexpr const char *kFolder = "folder";
    static constexpr const char *kSitePin = "SitePin";

    // Carries a prepared drag out; the platform's drag loop unless a test
    // stands in for it.
    using DragRunner = std::function<void(QDrag &)>;

    FolderTreeDragDrop(frmSitePins &window, MoveCommands &moves);

    // Record what a starting drag carries: the selected entry of tvwWM, the
    // selected folder of tvwTopics. False, with nothing recorded, outside
    // browse mode or with nothing that can be dragged.
    bool startSitePinDrag();
    bool startFolderDrag();
    // The drop of the recorded drag onto a node of tvwTopics.
    void dropOnFolder(QTreeWidgetItem *target);

    QString dragKind() const { return m_strDragKind; }
    QTreeWidgetItem *dropHighlight() const;
    void setDragRunner(DragRunner runner) { m_runDrag = std::move(runner); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool mousePress(QTreeView *tree, const QMouseEvent &press);
    bool mouseMove(QTreeView *tree, const QMouseEvent &move);
    bool mouseRelease();
    void showAddressTip(QTreeView *tree, const QPoint &position);
    void tvwWM_RightButtonDown(const QPoint &position);
    void runDrag(QTreeView *tree);
    bool acceptsDrag(const QDropEvent &event) const;
    bool dragOver(QDragMoveEvent &event, bool entering);
    bool drop(QDropEvent &event);
    void dropSitePin(QTreeWidgetItem *target);
    void dropFolder(QTreeWidgetItem *target);
    QTreeWidgetItem *sourceFolderNode() const;
    void setDropHighlight(QTreeWidgetItem *node);
    void clearDropHighlight();
    void forgetDrag();
    bool isBrowsing() const;

    frmSitePins &m_window;
    MoveCommands &m_moves;
    DragRunner m_runDrag;

    QString m_strDragKind;
    XmlNode m_objDragSitePin;
    QString m_strDragSourceTID;
    XmlNode m_objDragFolder;
    QString m_strDragTID;

    QPointer<QTreeView> m_pressedTree;
    QPoint m_pressPosition;
    bool m_dragging = false;
    bool m_swallowRelease = false;
    QPersistentModelIndex m_pendingDrop;
    QPersistentModelIndex m_highlight;
};
