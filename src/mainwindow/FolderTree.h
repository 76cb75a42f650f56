#pragma once

#include "mainwindow/SitePinListModel.h"
#include "store/XmlNode.h"

#include <QObject>

#include <vector>

class QAbstractItemView;
class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;
class TreeNode;
class XmlDocument;
class frmSitePins;

// The Index tab: the folder tree tvwTopics and the list tvwWM of the
// selected folder's SitePins, both built from the library document.
class FolderTree : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kNoFolder = "No folder";

    explicit FolderTree(frmSitePins &window);

    void populateTopicList(const XmlDocument &dom);
    QTreeWidgetItem *addFolderNode(const XmlNode &folder, QTreeWidgetItem *parent, bool expand);
    void populateSitePinList(QTreeWidgetItem *objSelNode);
    void fillSitePinList(std::vector<SitePinRow> rows);
    void populateWMOnTopicNode();

    // Node 1 of the folder tree: the root "FOLDERS".
    QTreeWidgetItem *rootNode() const;
    bool isRoot(const QTreeWidgetItem *node) const;
    QTreeWidgetItem *selectedNode() const;
    void selectNode(QTreeWidgetItem *node);
    void selectRoot();
    // First node, top down, whose tag equals `tag`.
    QTreeWidgetItem *findNodeByTag(const QString &tag, Qt::CaseSensitivity cs = Qt::CaseSensitive) const;
    // The status bar's form of a folder node's path: " -> A -> B".
    QString statusPath(const QTreeWidgetItem *node) const;

    // The selected entry of a SitePin list, and its tag.
    static QModelIndex selectedEntry(const QAbstractItemView *list);
    static QString selectedTag(const QAbstractItemView *list);
    static void clearList(QAbstractItemView *list);

    void tvwTopics_NodeClick();
    void tvwTopics_Expand(QTreeWidgetItem *node);
    void tvwTopics_Collapse(QTreeWidgetItem *node);
    void tvwWM_NodeClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectEvents();
    TreeNode *makeFolderNode(const XmlNode &folder) const;

    frmSitePins &m_window;
};
