#pragma once

#include <QObject>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class frmSitePins;

// Deleting the displayed SitePin or the selected folder.
class DeleteCommands : public QObject
{
    Q_OBJECT

public:
    explicit DeleteCommands(frmSitePins &window);

    void mnuEditDelete_Click();
    void mnuEditDeleteTopic_Click();
    // Removes the SITEPIN and saves; false when no SitePin carries `wid`.
    bool deleteSitePinElement(const QString &wid);
    // Removes the node's FOLDER with all it holds, saves, and takes the node
    // and its sub-tree out of the folder tree; false when nothing was removed.
    bool deleteFolderNode(QTreeWidgetItem *node);

private:
    void removeFromShownList(const QString &wid);
    void emptyOtherLists(int tab);
    void showFolderSelectedAfterDelete();
    QString folderNameOf(const QTreeWidgetItem *node) const;
    static void removeEntries(QTreeWidget *list, const QString &wid);

    frmSitePins &m_window;
};
