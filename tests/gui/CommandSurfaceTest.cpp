#include "MainWindowFixture.h"
#include "layout/CommandRouter.h"
#include "mainwindow/frmHelpAbout.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>

#include <functional>

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

    // Replaces every command a menu entry or toolbar button can name with a
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
    // the key reaches the menus.
    void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        ui().tabIndex->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), &window());
        QTest::keyClick(QApplication::activeWindow(), key, modifiers);
    }

    QString panel1() { return ui().StatusBar1->panelText(1); }

    QWidget *buttonWidget(int index) { return ui().Toolbar1->widgetForAction(ui().commands->toolbarButton(index)); }

    // The pointer over the toolbar at x (toolbar coordinates), mid-height.
    void pointAtToolbar(int x) { QTest::mouseMove(ui().Toolbar1, QPoint(x, ui().Toolbar1->height() / 2)); }

    void showIntranet()
    {
        showSitePin("Work", "Intranet");
        ASSERT_FALSE(ui().tabInfo->isHidden());
    }

    // A point of the widget's own surface that the pointer can reach: not
    // under one of its controls, not clipped away, not covered by a sibling.
    QPoint surfacePoint(QWidget *widget)
    {
        for (int y = 2; y < widget->height() - 1; y += 3) {
            for (int x = 2; x < widget->width() - 1; x += 3) {
                const QPoint inWindow = window().mapFromGlobal(widget->mapToGlobal(QPoint(x, y)));
                if (window().childAt(inWindow) == widget)
                    return QPoint(x, y);
            }
        }
        ADD_FAILURE() << "no free surface on " << widget->objectName().toStdString();
        return {};
    }

    void pointAtSurface(QWidget *widget) { QTest::mouseMove(widget, surfacePoint(widget)); }

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
        EXPECT_TRUE(CommandRouter::commandForToolbarButton(index).isEmpty());
    }
    EXPECT_TRUE(m_ran.isEmpty()) << m_ran.join(", ").toStdString();
    EXPECT_EQ(clicked.count(), 0);

    ui().commands->setButtonEnabled(5, true);
    QTest::mouseClick(buttonWidget(5), Qt::LeftButton);
    EXPECT_EQ(m_ran, QStringList{"mnuNavFirst"});
}

struct Shortcut
{
    const char *command;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Every menu entry that has a shortcut. Ctrl+C creates a SitePin; the copy
// commands have none.
TEST_F(CommandSurfaceTest, everyMenuShortcutReachesItsCommandOnce)
{
    const Shortcut table[] = {{"mnuFileOpen", Qt::Key_O, Qt::ControlModifier},
                              {"mnuFileImportIE", Qt::Key_X, Qt::ControlModifier},
                              {"mnuFileExit", Qt::Key_E, Qt::ControlModifier},
                              {"mnuAddSitePin", Qt::Key_C, Qt::ControlModifier},
                              {"mnuEditModify", Qt::Key_M, Qt::ControlModifier},
                              {"mnuEditDelete", Qt::Key_Delete},
                              {"mnuAddTopic", Qt::Key_T, Qt::ControlModifier},
                              {"mnuEditModifyTopic", Qt::Key_Y, Qt::ControlModifier},
                              {"mnuEditDeleteTopic", Qt::Key_Delete, Qt::ShiftModifier},
                              {"mnuNavFirst", Qt::Key_F2},
                              {"mnuNavPrevious", Qt::Key_F3},
                              {"mnuNavNext", Qt::Key_F4},
                              {"mnuNavLast", Qt::Key_F5},
                              {"mnuViewIndex", Qt::Key_I, Qt::ControlModifier},
                              {"mnuViewSearch", Qt::Key_S, Qt::ControlModifier},
                              {"mnuViewFavs", Qt::Key_F, Qt::ControlModifier},
                              {"mnuViewNotes", Qt::Key_N, Qt::ControlModifier},
                              {"mnuViewPreview", Qt::Key_P, Qt::ControlModifier},
                              {"mnuToolsOpen", Qt::Key_Insert, Qt::ControlModifier},
                              {"mnuToolsGet", Qt::Key_G, Qt::ControlModifier},
                              {"mnuToolsOpenBlank", Qt::Key_B, Qt::ControlModifier},
                              {"mnuToolsIntegrate", Qt::Key_R, Qt::ControlModifier},
                              {"mnuUndoIntegration", Qt::Key_U, Qt::ControlModifier},
                              {"mnuToolsSearchText", Qt::Key_F6},
                              {"mnuToolsSearchName", Qt::Key_F7},
                              {"mnuToolsSearchAddress", Qt::Key_F8},
                              {"mnuToolsSearchNotes", Qt::Key_F9},
                              {"mnuFavsAdd", Qt::Key_A, Qt::ControlModifier},
                              {"mnuFavsDelete", Qt::Key_D, Qt::ControlModifier},
                              {"mnuHelpTopics", Qt::Key_F1},
                              {"mnuHelpAbout", Qt::Key_H, Qt::ControlModifier}};
    probeAllCommands();
    for (const Shortcut &shortcut : table) {
        m_ran.clear();
        enableWithMenus(shortcut.command);
        pressKey(shortcut.key, shortcut.modifiers);
        EXPECT_EQ(m_ran, QStringList{shortcut.command});
    }
}

TEST_F(CommandSurfaceTest, shortcutOfAnEnabledEntryInADisabledMenuDoesNotRun)
{
    // A submenu's entry is stopped by its own menu and by the one above it.
    const std::pair<const char *, Shortcut> table[] = {{"mnuEdit", {"mnuAddTopic", Qt::Key_T, Qt::ControlModifier}},
                                                       {"mnuToolsSearch", {"mnuToolsSearchText", Qt::Key_F6}},
                                                       {"mnuTools", {"mnuToolsSearchName", Qt::Key_F7}}};
    probeAllCommands();
    for (const auto &[menu, shortcut] : table) {
        m_ran.clear();
        enableWithMenus(shortcut.command);
        ui().commands->setEnabled(menu, false);
        ASSERT_TRUE(ui().commands->isEnabled(shortcut.command));
        pressKey(shortcut.key, shortcut.modifiers);
        EXPECT_TRUE(m_ran.isEmpty()) << m_ran.join(", ").toStdString();

        // The same key runs once the menu is enabled again.
        ui().commands->setEnabled(menu, true);
        pressKey(shortcut.key, shortcut.modifiers);
        EXPECT_EQ(m_ran, QStringList{shortcut.command});
    }
}

TEST_F(CommandSurfaceTest, notesAndPreviewFocusTheInfoTabsOnlyWhileTheyAreShown)
{
    ASSERT_TRUE(ui().tabInfo->isHidden());
    enableWithMenus("mnuViewNotes");
    ui().tabInfo->setCurrentIndex(1);
    ui().tabIndex->setFocus();
    QWidget *focus = QApplication::focusWidget();
    pressKey(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ui().tabInfo->currentIndex(), 1) << "Ctrl+N with the info tabs hidden changes nothing";
    EXPECT_TRUE(ui().tabInfo->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), focus);

    showIntranet();
    pressKey(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ui().tabInfo->currentIndex(), 0);
    EXPECT_TRUE(ui().tabInfo->hasFocus());
    EXPECT_TRUE(ui().txtNotes->isVisible());
    // Marked visible again; the Preview page keeps it out of view.
    EXPECT_FALSE(ui().wbPreview->isHidden());
    pressKey(Qt::Key_P, Qt::ControlModifier);
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

TEST_F(CommandSurfaceTest, hoverHelpFollowsTheButtonsLeftEdges)
{
    const QRect separator = buttonWidget(4)->geometry();
    const QRect first = buttonWidget(5)->geometry();

    pointAtToolbar(buttonWidget(3)->geometry().center().x());
    EXPECT_EQ(panel1(), "Delete SitePin");
    // Exactly on a left edge no button is strictly under the pointer.
    pointAtToolbar(first.left());
    EXPECT_EQ(panel1(), "Delete SitePin");
    pointAtToolbar(first.left() + 1);
    EXPECT_EQ(panel1(), "First SitePin");
    // A separator empties the panel.
    pointAtToolbar(separator.left() + 1);
    EXPECT_EQ(panel1(), "");
    pointAtToolbar(first.center().x());
    EXPECT_EQ(panel1(), "First SitePin");
    // The space before the first button's left edge is no button.
    pointAtToolbar(buttonWidget(1)->geometry().left());
    EXPECT_EQ(panel1(), "First SitePin");
}

TEST_F(CommandSurfaceTest, hoverHelpPastTheLastButtonKeepsTheLastText)
{
    // Save and Cancel show while editing; the last button is then Cancel.
    ui().commands->setButtonVisible(20, true);
    ui().commands->setButtonVisible(21, true);
    QCoreApplication::processEvents();
    const QRect cancel = buttonWidget(21)->geometry();
    ASSERT_GT(ui().Toolbar1->width(), cancel.right() + 20);

    pointAtToolbar(cancel.center().x());
    EXPECT_EQ(panel1(), "Cancel");
    pointAtToolbar(cancel.right() + 10);
    EXPECT_EQ(panel1(), "Cancel");
    pointAtToolbar(buttonWidget(20)->geometry().center().x());
    EXPECT_EQ(panel1(), "Save");
    pointAtToolbar(cancel.right() + 15);
    EXPECT_EQ(panel1(), "Save");

    // Hidden again, they have no place: the last button is separator 19.
    ui().commands->setButtonVisible(20, false);
    ui().commands->setButtonVisible(21, false);
    QCoreApplication::processEvents();
    pointAtToolbar(buttonWidget(18)->geometry().center().x());
    EXPECT_EQ(panel1(), "Open blank browser");
    pointAtToolbar(buttonWidget(19)->geometry().right() + 10);
    EXPECT_EQ(panel1(), "Open blank browser");
}

TEST_F(CommandSurfaceTest, addressLabelHoverLookAndItsRestLook)
{
    showIntranet();
    QLabel *address = ui().lblAddress;
    EXPECT_FALSE(address->font().underline());
    for (QWidget *elsewhere : std::initializer_list<QWidget *>{ui().Frame2, ui().Frame1, ui().client}) {
        QTest::mouseMove(address, QPoint(5, address->height() / 2));
        EXPECT_TRUE(address->font().underline());
        EXPECT_EQ(address->toolTip(), "Open Intranet in a new browser window");
        pointAtSurface(elsewhere);
        EXPECT_FALSE(address->font().underline()) << elsewhere->objectName().toStdString();
    }

    // Over an empty label: no look, no tooltip.
    address->setText(QString());
    QTest::mouseMove(address, QPoint(6, address->height() / 2));
    EXPECT_EQ(address->toolTip(), "");
    EXPECT_FALSE(address->font().underline());
}

TEST_F(CommandSurfaceTest, leftTabsFrame3AndPicture1EmptyThePanelAndTheSplitterTips)
{
    showIntranet();
    QTest::mouseMove(ui().lblAddress, QPoint(5, ui().lblAddress->height() / 2));
    ASSERT_TRUE(ui().lblAddress->font().underline());
    ui().StatusBar1->setPanelText(1, "help");
    ui().Splitter1->setToolTip("one");
    ui().Splitter2->setToolTip("two");

    // Beside the move buttons lies the tab control's own surface.
    pointAtSurface(ui().cmdMoveSP->parentWidget());
    EXPECT_EQ(panel1(), "");
    EXPECT_EQ(ui().Splitter1->toolTip(), "");
    EXPECT_EQ(ui().Splitter2->toolTip(), "");
    EXPECT_FALSE(ui().lblAddress->font().underline());

    // Over a control on the tab the tab control itself does not hear the mouse;
    // Frame1 and Frame2 keep the text too, Frame3 and Picture1 empty it.
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
}

TEST_F(CommandSurfaceTest, helpMenuHoldsThreeEntriesAndOneSeparator)
{
    QMenu *help = ui().commands->menu("mnuHelp");
    ASSERT_TRUE(help);
    QStringList shown;
    for (const QAction *action : help->actions())
        shown << (action->isSeparator() ? QStringLiteral("—") : action->text());
    EXPECT_EQ(shown, (QStringList{"&Help Contents...", "—", "&About SitePins Manager...", "SitePins on the &Web..."}));
}

TEST_F(CommandSurfaceTest, aboutOpensModallyOverTheWindow)
{
    QWidget *seenParent = nullptr;
    bool wasModal = false;
    std::function<void()> answer = [&] {
        auto *about = qobject_cast<frmHelpAbout *>(QApplication::activeModalWidget());
        if (!about) {
            QTimer::singleShot(10, answer);
            return;
        }
        seenParent = about->parentWidget();
        wasModal = about->isModal();
        about->close();
    };
    QTimer::singleShot(0, answer);
    runMenu("mnuHelpAbout");
    // The command returned only once the window had been answered and closed.
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(seenParent, &window());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
