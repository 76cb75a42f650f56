#pragma once

#include <QObject>

class QTreeView;
class frmSitePins;

// First, previous, next and last SitePin of the list the left pane shows,
// in the order it shows them. The list's selection is the only position:
// nothing wraps around and nothing crosses into another list.
class Navigation : public QObject
{
    Q_OBJECT

public:
    explicit Navigation(frmSitePins &window);

    void mnuNavFirst_Click();
    void mnuNavPrevious_Click();
    void mnuNavNext_Click();
    void mnuNavLast_Click();

private:
    QTreeView *currentList() const;
    void goToEnd(bool last);
    void step(int offset);
    void moveTo(QTreeView *list, int row);
    void showSelected();

    frmSitePins &m_window;
};
