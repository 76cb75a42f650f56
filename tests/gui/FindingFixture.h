#pragma once

#include "MainWindowFixture.h"

#include <QMouseEvent>

// The search options in the order of their buttons.
enum SearchOption
{
    FullText,
    NameOnly,
    AddressOnly,
    NotesOnly
};

// Drives the Search and Fav's tabs the way a user does.
class FindingFixture : public MainWindowFixture
{
protected:
    void search(SearchOption option, const QString &term)
    {
        window().selectLeftTab(1);
        QTest::mouseClick(ui().optSearch[option], Qt::LeftButton);
        typeSearchTerm(term);
        QTest::mouseClick(ui().cmdSearch, Qt::LeftButton);
    }

    void typeSearchTerm(const QString &term)
    {
        ui().txtSearch->selectAll();
        QTest::keyClick(ui().txtSearch, Qt::Key_Backspace);
        QTest::keyClicks(ui().txtSearch, term);
    }

    void clickEntry(QTreeWidget *list, const QString &name)
    {
        QTreeWidgetItem *node = entry(list, name);
        ASSERT_TRUE(node) << name.toStdString();
        clickItem(list, node);
    }

    QString selectedEntryName(QTreeWidget *list) const
    {
        const QList<QTreeWidgetItem *> selected = list->selectedItems();
        return selected.isEmpty() ? QString() : selected.front()->text(0);
    }

    // QTest moves the pointer through the cursor, which sends nothing when
    // the cursor already stands there from an earlier test.
    static void movePointer(QWidget *widget, const QPoint &position)
    {
        QMouseEvent move(QEvent::MouseMove, position, widget->mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    QString statusPath() { return ui().StatusBar1->panelText(2); }
};
