#pragma once

#include "mainwindow/ImageList.h"

#include <QTreeWidget>

class XmlDocument;
class XmlNode;

// The folder tree of the folder and move dialogs, tvwTopicList: the library's
// folders below a root node, built like the main window's folder tree but
// kept apart from it, so a choice made here moves nothing in the main window.
class TopicListTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit TopicListTree(QWidget *parent = nullptr);

    // Root first, base folders sorted by name, every folder collapsed.
    void populateMyTopicList(const XmlDocument &dom);

    QTreeWidgetItem *rootNode() const;
    bool isRoot(const QTreeWidgetItem *node) const;
    QTreeWidgetItem *selectedNode() const;
    // First node, top down, whose tag is exactly `tag`; the root's tag is empty.
    QTreeWidgetItem *findNodeByTag(const QString &tag) const;
    // Selects and shows the node; raises no nodeChosen().
    void selectNode(QTreeWidgetItem *node);
    // The node tagged `tid`, or the root when none is.
    void selectByTag(const QString &tid);

signals:
    // The user picked a node, by mouse or keyboard: once per choice, and
    // also for a click on the node that was preselected.
    void nodeChosen(QTreeWidgetItem *node);

private:
    void addFolderNode(const XmlNode &folder, QTreeWidgetItem *parent);
    void onCurrentItemChanged(QTreeWidgetItem *current);
    void onItemClicked(QTreeWidgetItem *node);
    void reportChoice(QTreeWidgetItem *node);

    ImageList m_images;
    bool m_selectingInCode = false;
    // The node last reported through nodeChosen(), so that a click which
    // also moved the current node is reported once.
    QTreeWidgetItem *m_reported = nullptr;
};
