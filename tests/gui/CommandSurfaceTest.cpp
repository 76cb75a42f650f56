#include "MainWindowFixture.h"
#include "ModalDialog.h"

#include <QAction>
#include <QDialog>
#include <QKeySequence>
#include <QMenu>
#include <QSignalSpy>
#include <QToolBar>

namespace {

using L = LibraryText;

class CommandSurfaceTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        startWith(L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example", "Some notes")) +
                  L::folder(2, "Home"));
    }

    // Every command a menu entry or toolbar button can name replaced with a
    // probe that only records its runs.
    void probeAllCommands()
    {
        QStringList names{"saveEdit", "cancelEdit"};
        for (const QAction *element : ui().commands->allMenuElements()) {
            if (!element->isSeparator() && !element->menu())
                names << element->objectName();
        }
        for (const QString &name : names)
            window().commands().on(name, [this, name] { m_ran << name; });
    }

    // The entry and every menu above it enabled.
    void enableWithMenus(const QString &name)
    {
        QAction *entry = ui().commands->element(name);
        ASSERT_TRUE(entry) << name.toStdString();
        entry->setEnabled(true);
        for (QObject *walk = entry->parent(); walk; walk = walk->parent()) {
            if (auto *menu = qobject_cast<QMenu *>(walk))
                menu->menuAction()->setEnabled(true);
        }
    }

    // Pressed with the focus on a control that takes no key of its own, so
    // the keys reach the menus.
    void pressKeys(const char *keys)
    {
        ui().tabIndex->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &window());
        QTest::keySequence(QApplication::activeWindow(), QKeySequence(QString::fromLatin1(keys)));
    }

    QString panel1() { return ui().StatusBar1->panelText(1); }

    QWidget *buttonWidget(int index) { return ui().Toolbar1->widgetForAction(ui().commands->toolbarButton(index)); }

    // The pointer over the toolbar at x (toolbar coordinates), mid-height.
    void expectHelpAt(int x, const char *text)
    {
        QTest::mouseMove(ui().Toolbar1, QPoint(x, ui().Toolbar1->height() / 2));
        EXPECT_EQ(panel1(), text) << "at " << x;
    }

    void showIntranet()
    {
        showSitePin("Work", "Intranet");
        ASSERT_FALSE(ui().tabInfo->isHidden());
    }

    // The pointer on a point of the widget's own surface: not under one of
    // its controls, not clipped away, not covered by a sibling.
    void pointAtSurface(QWidget *widget)
    {
        for (int y = 2; y < widget->height() - 1; y += 3) {
            for (int x = 2; x < widget->width() - 1; x += 3) {
                if (window().childAt(window().mapFromGlobal(widget->mapToGlobal(QPoint(x, y)))) == widget)
                    return QTest::mouseMove(widget, QPoint(x, y));
            }
        }
        ADD_FAILURE() << "no free surface on " << widget->objectName().toStdString();
    }

    void pointAtAddress() { QTest::mouseMove(ui().lblAddress, QPoint(5, ui().lblAddress->height() / 2)); }
    bool addressUnderlined() { return ui().lblAddress->font().underline(); }

    QStringList m_ran;
};

} // namespace

TEST_F(CommandSurfaceTest, toolbarSeparatorsRunNothingAndButtonsTheirOwnCommand)
{
    probeAllCommands();
    QSignalSpy clicked(ui().commands, &CommandSurface::toolbarButtonClicked);
    for (const int index : {4, 9, 11, 15, 19}) {
        ASSERT_TRUE(CommandSurface::isSeparatorIndex(index));
        QWidget *separator = buttonWidget(index);
        ASSERT_TRUE(separator && separator->isVisible()) << index;
        QTest::mouseClick(separator, Qt::LeftButton);
        QTest::mouseClick(separator, Qt::LeftButton, {}, QPoint(1, 1));
    }
    EXPECT_TRUE(m_ran.isEmpty()) << m_ran.join(", ").toStdString();
    EXPECT_EQ(clicked.count(), 0);

    ui().commands->setButtonEnabled(5, true);
    QTest::mouseClick(buttonWidget(5), Qt::LeftButton);
    EXPECT_EQ(m_ran, QStringList{"mnuNavFirst"});
}

// Every menu entry that has a shortcut, each followed by its keys. Ctrl+C
// creates a SitePin; the copy commands have none.
TEST_F(CommandSurfaceTest, everyMenuShortcutReachesItsCommandOnceButNotThroughADisabledMenu)
{
    const char *const table[] = {
        "mnuFileOpen",        "Ctrl+O",   "mnuFileImportIE",       "Ctrl+X", "mnuFileExit",         "Ctrl+E",
        "mnuAddSitePin",      "Ctrl+C",   "mnuEditModify",         "Ctrl+M", "mnuEditDelete",       "Del",
        "mnuAddTopic",        "Ctrl+T",   "mnuEditModifyTopic",    "Ctrl+Y", "mnuEditDeleteTopic",  "Shift+Del",
        "mnuNavFirst",        "F2",       "mnuNavPrevious",        "F3",     "mnuNavNext",          "F4",
        "mnuNavLast",         "F5",       "mnuViewIndex",          "Ctrl+I", "mnuViewSearch",       "Ctrl+S",
        "mnuViewFavs",        "Ctrl+F",   "mnuViewNotes",          "Ctrl+N", "mnuViewPreview",      "Ctrl+P",
        "mnuToolsOpen",       "Ctrl+Ins", "mnuToolsGet",           "Ctrl+G", "mnuToolsOpenBlank",   "Ctrl+B",
        "mnuToolsIntegrate",  "Ctrl+R",   "mnuUndoIntegration",    "Ctrl+U", "mnuToolsSearchText",  "F6",
        "mnuToolsSearchName", "F7",       "mnuToolsSearchAddress", "F8",     "mnuToolsSearchNotes", "F9",
        "mnuFavsAdd",         "Ctrl+A",   "mnuFavsDelete",         "Ctrl+D", "mnuHelpTopics",       "F1",
        "mnuHelpAbout",       "Ctrl+H"};
    probeAllCommands();
    for (std::size_t i = 0; i < std::size(table); i += 2) {
        m_ran.clear();
        enableWithMenus(table[i]);
        pressKeys(table[i + 1]);
        EXPECT_EQ(m_ran, QStringList{table[i]}) << table[i + 1];
    }

    // A submenu's entry is stopped by its own menu and by the one above it;
    // the same keys run it once the menu is enabled again.
    for (const auto &[menu, command, keys] : {std::tuple{"mnuEdit", "mnuAddTopic", "Ctrl+T"},
                                              {"mnuToolsSearch", "mnuToolsSearchText", "F6"},
                                              {"mnuTools", "mnuToolsSearchName", "F7"}}) {
        m_ran.clear();
        enableWithMenus(command);
        ui().commands->setEnabled(menu, false);
        ASSERT_TRUE(ui().commands->isEnabled(command));
        pressKeys(keys);
        EXPECT_TRUE(m_ran.isEmpty()) << m_ran.join(", ").toStdString();
        ui().commands->setEnabled(menu, true);
        pressKeys(keys);
        EXPECT_EQ(m_ran, QStringList{command});
    }
}

TEST_F(CommandSurfaceTest, notesAndPreviewFocusTheInfoTabsOnlyWhileTheyAreShown)
{
    ASSERT_TRUE(ui().tabInfo->isHidden());
    enableWithMenus("mnuViewNotes");
    ui().tabInfo->setCurrentIndex(1);
    ui().tabIndex->setFocus();
    QWidget *focus = QApplication::focusWidget();
    pressKeys("Ctrl+N");
    EXPECT_EQ(ui().tabInfo->currentIndex(), 1) << "Ctrl+N with the info tabs hidden changes nothing";
    EXPECT_TRUE(ui().tabInfo->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), focus);

    showIntranet();
    pressKeys("Ctrl+N");
    EXPECT_EQ(ui().tabInfo->currentIndex(), 0);
    EXPECT_TRUE(ui().tabInfo->hasFocus());
    EXPECT_TRUE(ui().txtNotes->isVisible());
    // Marked visible again; the Preview page keeps it out of view.
    EXPECT_FALSE(ui().wbPreview->isHidden());
    pressKeys("Ctrl+P");
    EXPECT_EQ(ui().tabInfo->currentIndex(), 1);
    EXPECT_TRUE(ui().tabInfo->hasFocus());
    EXPECT_TRUE(ui().txtNotes->isHidden());
}

// The View menu shows its left tab and runs the switch rules, even when the
// tab is already shown: only they bring the tab's buttons back. The buttons
// sit on the tab pages, so only their own hidden flag tells.
TEST_F(CommandSurfaceTest, viewMenuShowsTheButtonsOfTheTabAndMakesItsDefault)
{
    const frmSitePinsUi &u = ui();
    const std::vector<QWidget *> buttonsOf[] = {
        {u.cmdMoveSP, u.cmdMoveFolder}, {u.cmdSearch}, {u.cmdFAdd, u.cmdFDelete}};
    for (const auto &[entry, tab] : {std::pair{"mnuViewIndex", 0}, {"mnuViewSearch", 1}, {"mnuViewFavs", 2}}) {
        for (int from : {0, 1, 2}) {
            SCOPED_TRACE(std::string(entry) + " from " + std::to_string(from));
            window().selectLeftTab(from);
            for (QWidget *button : buttonsOf[tab])
                button->hide();
            runMenu(entry);
            EXPECT_EQ(u.tabIndex->currentIndex(), tab);
            for (int other : {0, 1, 2}) {
                for (QWidget *button : buttonsOf[other])
                    EXPECT_EQ(!button->isHidden(), other == tab) << button->objectName().toStdString();
            }
            if (tab != 0) {
                EXPECT_EQ(u.cmdSearch->isDefault(), tab == 1);
                EXPECT_EQ(u.cmdFAdd->isDefault(), tab == 2);
            }
        }
    }
}

// A button is under the pointer only strictly right of its left edge; a
// separator empties the panel, and past the last button it keeps its text.
TEST_F(CommandSurfaceTest, hoverHelpFollowsTheButtonsLeftEdgesAndStaysPastTheLast)
{
    // Save and Cancel show while editing; the last button is then Cancel.
    ui().commands->setButtonVisible(20, true);
    ui().commands->setButtonVisible(21, true);
    QCoreApplication::processEvents();
    const QRect cancel = buttonWidget(21)->geometry();
    ASSERT_GT(ui().Toolbar1->width(), cancel.right() + 20);
    expectHelpAt(cancel.center().x(), "Cancel");
    expectHelpAt(cancel.right() + 10, "Cancel");
    expectHelpAt(buttonWidget(20)->geometry().center().x(), "Save");
    expectHelpAt(cancel.right() + 15, "Save");

    // Hidden again, they have no place: the last button is separator 19.
    ui().commands->setButtonVisible(20, false);
    ui().commands->setButtonVisible(21, false);
    QCoreApplication::processEvents();
    expectHelpAt(buttonWidget(18)->geometry().center().x(), "Open blank browser");
    expectHelpAt(buttonWidget(19)->geometry().right() + 10, "Open blank browser");

    const QRect first = buttonWidget(5)->geometry();
    expectHelpAt(buttonWidget(3)->geometry().center().x(), "Delete SitePin");
    expectHelpAt(first.left(), "Delete SitePin");
    expectHelpAt(first.left() + 1, "First SitePin");
    expectHelpAt(buttonWidget(4)->geometry().left() + 1, "");
    expectHelpAt(first.center().x(), "First SitePin");
    expectHelpAt(buttonWidget(1)->geometry().left(), "First SitePin"); // before the first button's left edge
}

// Beside the move buttons lies the tab control's own surface. Over a control
// on the tab the tab control itself does not hear the mouse; Frame1 and
// Frame2 keep the text too, Frame3 and Picture1 empty it.
TEST_F(CommandSurfaceTest, restLookOfTheAddressLabelThePanelAndTheSplitterTips)
{
    showIntranet();
    EXPECT_FALSE(addressUnderlined());
    for (QWidget *elsewhere : std::initializer_list<QWidget *>{ui().Frame2, ui().Frame1, ui().client}) {
        pointAtAddress();
        EXPECT_TRUE(addressUnderlined());
        EXPECT_EQ(ui().lblAddress->toolTip(), "Open Intranet in a new browser window");
        pointAtSurface(elsewhere);
        EXPECT_FALSE(addressUnderlined()) << elsewhere->objectName().toStdString();
    }

    pointAtAddress();
    ASSERT_TRUE(addressUnderlined());
    ui().StatusBar1->setPanelText(1, "help");
    ui().Splitter1->setToolTip("one");
    ui().Splitter2->setToolTip("two");
    pointAtSurface(ui().cmdMoveSP->parentWidget());
    EXPECT_EQ(panel1(), "");
    EXPECT_EQ(ui().Splitter1->toolTip(), "");
    EXPECT_EQ(ui().Splitter2->toolTip(), "");
    EXPECT_FALSE(addressUnderlined());

    ui().StatusBar1->setPanelText(1, "help");
    QTest::mouseMove(ui().tvwTopics->viewport(), QPoint(30, 5));
    pointAtSurface(ui().Frame1);
    pointAtSurface(ui().Frame2);
    EXPECT_EQ(panel1(), "help");
    for (QWidget *emptying : std::initializer_list<QWidget *>{ui().Frame3, ui().Picture1}) {
        ui().StatusBar1->setPanelText(1, "help");
        pointAtSurface(emptying);
        EXPECT_EQ(panel1(), "") << emptying->objectName().toStdString();
    }

    // Over an empty address label: no look, no tooltip.
    ui().lblAddress->setText(QString());
    pointAtAddress();
    EXPECT_EQ(ui().lblAddress->toolTip(), "");
    EXPECT_FALSE(addressUnderlined());
}

// The favourites import keeps its place; imports and exports of the
// browsers' formats follow it. Importing waits while an edit is open.
TEST_F(CommandSurfaceTest, fileMenuHoldsTheImportAndExportMenusAndHelpItsThreeEntries)
{
    const auto captions = [this](const char *menu) {
        QStringList shown;
        for (const QAction *action : ui().commands->menu(QString::fromLatin1(menu))->actions())
            shown << (action->isSeparator() ? QStringLiteral("—") : action->text());
        return shown;
    };
    EXPECT_EQ(captions("mnuHelp"),
              (QStringList{"&Help Contents...", "—", "&About SitePins Manager...", "SitePins on the &Web..."}));
    EXPECT_EQ(captions("mnuFile"), (QStringList{"&Open...", "&Restore from backup...",
                                                "Import Internet E&xplorer favorites", "&Import", "Ex&port", "&Exit"}));
    EXPECT_EQ(captions("mnuFileImport"), (QStringList{"&Netscape bookmark file...", "&XBEL file...",
                                                      "&Firefox profile...", "&Chromium or Chrome profile..."}));
    EXPECT_EQ(captions("mnuFileExport"), (QStringList{"&Netscape bookmark file...", "&XBEL file..."}));

    showIntranet();
    runMenu("mnuEditModify");
    ASSERT_EQ(ui().txtMode->text(), "mod");
    EXPECT_FALSE(isEnabled("mnuFileImport"));
    EXPECT_TRUE(isEnabled("mnuFileExport"));

    probeAllCommands();
    enableWithMenus("mnuFileImportNetscape");
    const QStringList entries{"mnuFileImportNetscape", "mnuFileImportXbel",     "mnuFileImportFirefox",
                              "mnuFileImportChromium", "mnuFileExportNetscape", "mnuFileExportXbel"};
    for (const QString &entry : entries)
        runMenu(entry);
    EXPECT_EQ(m_ran, entries);
}

// The command returns only once the window has been answered and closed.
TEST_F(CommandSurfaceTest, aboutOpensModallyOverTheWindow)
{
    QWidget *seenParent = nullptr;
    EXPECT_TRUE(withModalDialog([this] { runMenu("mnuHelpAbout"); },
                                [&](QDialog &about) {
                                    EXPECT_TRUE(about.inherits("frmHelpAbout"));
                                    seenParent = about.parentWidget();
                                }));
    EXPECT_EQ(seenParent, &window());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
