#pragma once

#include "care/logic/DuplicateFinder.h"
#include "store/XmlDocument.h"

#include <QWidget>

#include <vector>

class LibraryCare;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class frmSitePins;

// Tools > Find duplicates: the SitePins whose addresses lead to the same
// page, group by group, each with its folder and creation date. The user
// picks the one to keep in a group; the others go with one save.
class frmDuplicates : public QWidget
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        FolderColumn,
        CreatedColumn,
        AddressColumn,
        ColumnCount
    };

    frmDuplicates(frmSitePins &window, LibraryCare &care);

    // Looks through the open library again and lists what it finds.
    void findDuplicates();
    void cmdKeep_Click();

private:
    void buildControls();
    void showGroups(const std::vector<DuplicateGroup> &groups);
    QTreeWidgetItem *makeGroupRow(const DuplicateGroup &group) const;
    QTreeWidgetItem *makeSitePinRow(const XmlNode &sitePin) const;
    bool chooseKeepers(QHash<QTreeWidgetItem *, QTreeWidgetItem *> &keepers) const;
    void updateActions();
    void showSitePinOf(QTreeWidgetItem *row);

    frmSitePins &m_window;
    LibraryCare &m_care;
    XmlDocument m_document;
    QLabel *m_lblSummary = nullptr;
    QTreeWidget *m_tvwGroups = nullptr;
    QPushButton *m_cmdKeep = nullptr;
    QPushButton *m_cmdFindAgain = nullptr;
    QPushButton *m_cmdClose = nullptr;
};
