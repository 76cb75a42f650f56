#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

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
    // The usual question, naming the SitePin when there is one, else saying
    // how many; true for Yes.
    bool askToDeleteSitePins(const QStringList &names);
    // Removes every SitePin of the list still in the library, with one save,
    // and takes them out of the SitePin lists and the detail panel. Returns
    // the identifiers removed.
    QStringList deleteSitePinElements(const QStringList &wids);
    // Removes the node's FOLDER with all it holds, saves, and takes the node
    // and its sub-tree out of the folder tree; false when nothing was removed.
    bool deleteFolderNode(QTreeWidgetItem *node);

private:
    bool removeSitePinElement(const QString &wid);
    void forgetRemovedSitePins(const QStringList &wids);
    void removeFromShownList(const QString &wid);
    void emptyOtherLists(int tab);
    void showFolderSelectedAfterDelete();
    QString folderNameOf(const QTreeWidgetItem *node) const;
    static void removeEntries(QTreeWidget *list, const QString &wid);

    frmSitePins &m_window;
};
