#include "finding/Navigation.h"

#include "finding/Favourites.h"
#include "finding/Search.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QTreeView>

Navigation::Navigation(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    CommandRouter &router = window.commands();
    router.on(QStringLiteral("mnuNavFirst"), [this] { mnuNavFirst_Click(); });
    router.on(QStringLiteral("mnuNavPrevious"), [this] { mnuNavPrevious_Click(); });
    router.on(QStringLiteral("mnuNavNext"), [this] { mnuNavNext_Click(); });
    router.on(QStringLiteral("mnuNavLast"), [this] { mnuNavLast_Click(); });
}

void Navigation::mnuNavFirst_Click()
{
    goToEnd(false);
}

void Navigation::mnuNavPrevious_Click()
{
    step(-1);
}

void Navigation::mnuNavNext_Click()
{
    step(1);
}

void Navigation::mnuNavLast_Click()
{
    goToEnd(true);
}

QTreeView *Navigation::currentList() const
{
    const frmSitePinsUi &ui = m_window.ui();
    switch (m_window.selectedLeftTab()) {
    case 0:
        return ui.tvwWM;
    case 1:
        return ui.tvwSearch;
    case 2:
        return ui.tvwFavs;
    default:
        return nullptr;
    }
}

// Rows are in display order: a sorted list keeps its entries sorted.
void Navigation::goToEnd(bool last)
{
    QTreeView *list = currentList();
    const int count = list ? list->model()->rowCount() : 0;
    if (count == 0)
        return;
    moveTo(list, last ? count - 1 : 0);
}

void Navigation::step(int offset)
{
    QTreeView *list = currentList();
    const QModelIndex selected = list ? FolderTree::selectedEntry(list) : QModelIndex();
    if (!selected.isValid())
        return;
    const int target = selected.row() + offset;
    if (target < 0 || target >= list->model()->rowCount())
        return;
    moveTo(list, target);
}

// The selection moves before the SitePin is shown, so when the user keeps
// an open edit the list shows the new entry while the panel keeps the old.
void Navigation::moveTo(QTreeView *list, int row)
{
    const QModelIndex entry = list->model()->index(row, 0);
    list->setCurrentIndex(entry);
    list->selectionModel()->select(entry, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(entry);
    showSelected();
    list->setFocus();
}

void Navigation::showSelected()
{
    switch (m_window.selectedLeftTab()) {
    case 0:
        m_window.detailPanel().displayWM();
        break;
    case 1:
        m_window.search().tvwSearch_NodeClick();
        break;
    case 2:
        m_window.favourites().tvwFavs_NodeClick();
        break;
    default:
        break;
    }
}
