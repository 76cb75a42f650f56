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
    void search(SearchOption option, const QString &term, bool byEnter = false)
    {
        window().selectLeftTab(1);
        QTest::mouseClick(ui().optSearch[option], Qt::LeftButton);
        typeSearchTerm(term);
        if (byEnter)
            QTest::keyClick(ui().txtSearch, Qt::Key_Return);
        else
            QTest::mouseClick(ui().cmdSearch, Qt::LeftButton);
    }

    void typeSearchTerm(const QString &term)
    {
        ui().txtSearch->selectAll();
        QTest::keyClick(ui().txtSearch, Qt::Key_Backspace);
        QTest::keyClicks(ui().txtSearch, term);
    }

    void clickEntry(QTreeView *list, const QString &name)
    {
        const QModelIndex node = entry(list, name);
        ASSERT_TRUE(node.isValid()) << name.toStdString();
        clickItem(list, node);
    }

    QString selectedEntryName(QTreeView *list) const
    {
        const QModelIndexList selected = list->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? QString() : selected.front().data().toString();
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

    // The SitePin panel as the user reads it: name, folder, folder ID, and the
    // path in the status bar.
    QStringList shownSitePin()
    {
        return {ui().lblWName->caption(), ui().lblTName->caption(), ui().txtTID->text(), statusPath()};
    }

    static QString favourite(int wid, const QString &name) { return LibraryText::sitePin(wid, name, {}, {}, "TRUE"); }

    // Replaces the library shown through File > Open, as a user does.
    void openOther(const QString &body)
    {
        const QString path = programFolder() + "/Other.xml";
        ASSERT_TRUE(LibraryText::writeFile(path, LibraryText::document(body)));
        m_dialogs.chooseFileNext(path);
        runMenu("mnuFileOpen");
    }
};
