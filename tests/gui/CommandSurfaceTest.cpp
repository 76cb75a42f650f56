#include "layout/CommandSurface.h"
#include "LibraryText.h"
#include "MainWindowFixture.h"
#include "layout/CommandRouter.h"
#include "layout/SplitterWidget.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/frmHelpAbout.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>

namespace {

using L = LibraryText;

QString library()
{
    return L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example", "Some notes")) +
           L::folder(2, "Home");
}

// Every command a menu entry or toolbar button can name.
QStringList allCommandNames(const CommandSurface &surface)
{
    QStringList names{"saveEdit", "cancelEdit"};
    for (const QAction *element : surface.allMenuElements()) {
        if (!element->isSeparator() && !element->menu())
            names << element->objectName();
    }
    return names;
}

class CommandSurfaceTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        writeLibraryBody(library());
        start();
    }

    // Replaces every command with a probe that only counts its runs.
    void probeAllCommands()
    {
        for (const QString &name : allCommandNames(*ui().commands))
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

    QWidget *activeMainWindow()
    {
        EXPECT_EQ(QApplication::activeWindow(), &window());
        return QApplication::activeWindow();
    }

    // A control that takes no key of its own, so the key reaches the menus.
    void focusNeutralControl()
    {
        ui().tabIndex->setFocus();
        QCoreApplication::processEvents();
    }

    QString panel1() { return ui().StatusBar1->panelText(1); }

    QWidget *buttonWidget(int index) { return ui().Toolbar1->widgetForAction(ui().commands->toolbarButton(index)); }

    // The pointer over the toolbar at x (toolbar coordinates), mid-height.
    void pointAtToolbar(int x) { QTest::mouseMove(ui().Toolbar1, QPoint(x, ui().Toolbar1->height() / 2)); }

    void showSitePin()
    {
        clickFolder("Work");
        clickSitePin("Intranet");
        ASSERT_EQ(ui().lblWName->caption(), "Intranet");
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

class ToolbarSeparator : public CommandSurfaceTest, public ::testing::WithParamInterface<int>
{
};

} // namespace

TEST_P(ToolbarSeparator, clickRunsNothing)
{
    const int index = GetParam();
    ASSERT_TRUE(CommandSurface::isSeparatorIndex(index));
    probeAllCommands();
    QSignalSpy clicked(ui().commands, &CommandSurface::toolbarButtonClicked);
    QWidget *separator = buttonWidget(index);
    ASSERT_TRUE(separator);
    ASSERT_TRUE(separator->isVisible());
    QTest::mouseClick(separator, Qt::LeftButton);
    QTest::mouseClick(separator, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(m_ran.isEmpty()) << m_ran.join(", ").toStdString();
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(CommandRouter::commandForToolbarButton(index).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Separators, ToolbarSeparator, ::testing::Values(4, 9, 11, 15, 19));

TEST_F(CommandSurfaceTest, actionButtonRunsItsCommandAndNoOther)
{
    probeAllCommands();
    ui().commands->setButtonEnabled(5, true);
    QTest::mouseClick(buttonWidget(5), Qt::LeftButton);
    EXPECT_EQ(m_ran, QStringList{"mnuNavFirst"});
}

struct Shortcut
{
    const char *command;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const Shortcut &shortcut, std::ostream *out)
{
    *out << shortcut.command;
}

class MenuShortcut : public CommandSurfaceTest, public ::testing::WithParamInterface<Shortcut>
{
};

TEST_P(MenuShortcut, reachesItsCommandOnce)
{
    const Shortcut shortcut = GetParam();
    probeAllCommands();
    enableWithMenus(shortcut.command);
    focusNeutralControl();
    QTest::keyClick(activeMainWindow(), shortcut.key, shortcut.modifiers);
    EXPECT_EQ(m_ran, QStringList{shortcut.command});
}

// Every menu entry that has a shortcut. Ctrl+C creates a SitePin;
// the copy commands have none.
INSTANTIATE_TEST_SUITE_P(Table, MenuShortcut,
                         ::testing::Values(Shortcut{"mnuFileOpen", Qt::Key_O, Qt::ControlModifier},
                                           Shortcut{"mnuFileImportIE", Qt::Key_X, Qt::ControlModifier},
                                           Shortcut{"mnuFileExit", Qt::Key_E, Qt::ControlModifier},
                                           Shortcut{"mnuAddSitePin", Qt::Key_C, Qt::ControlModifier},
                                           Shortcut{"mnuEditModify", Qt::Key_M, Qt::ControlModifier},
                                           Shortcut{"mnuEditDelete", Qt::Key_Delete, Qt::NoModifier},
                                           Shortcut{"mnuAddTopic", Qt::Key_T, Qt::ControlModifier},
                                           Shortcut{"mnuEditModifyTopic", Qt::Key_Y, Qt::ControlModifier},
                                           Shortcut{"mnuEditDeleteTopic", Qt::Key_Delete, Qt::ShiftModifier},
                                           Shortcut{"mnuNavFirst", Qt::Key_F2, Qt::NoModifier},
                                           Shortcut{"mnuNavPrevious", Qt::Key_F3, Qt::NoModifier},
                                           Shortcut{"mnuNavNext", Qt::Key_F4, Qt::NoModifier},
                                           Shortcut{"mnuNavLast", Qt::Key_F5, Qt::NoModifier},
                                           Shortcut{"mnuViewIndex", Qt::Key_I, Qt::ControlModifier},
                                           Shortcut{"mnuViewSearch", Qt::Key_S, Qt::ControlModifier},
                                           Shortcut{"mnuViewFavs", Qt::Key_F, Qt::ControlModifier},
                                           Shortcut{"mnuViewNotes", Qt::Key_N, Qt::ControlModifier},
                                           Shortcut{"mnuViewPreview", Qt::Key_P, Qt::ControlModifier},
                                           Shortcut{"mnuToolsOpen", Qt::Key_Insert, Qt::ControlModifier},
                                           Shortcut{"mnuToolsGet", Qt::Key_G, Qt::ControlModifier},
                                           Shortcut{"mnuToolsOpenBlank", Qt::Key_B, Qt::ControlModifier},
                                           Shortcut{"mnuToolsIntegrate", Qt::Key_R, Qt::ControlModifier},
                                           Shortcut{"mnuUndoIntegration", Qt::Key_U, Qt::ControlModifier},
                                           Shortcut{"mnuToolsSearchText", Qt::Key_F6, Qt::NoModifier},
                                           Shortcut{"mnuToolsSearchName", Qt::Key_F7, Qt::NoModifier},
                                           Shortcut{"mnuToolsSearchAddress", Qt::Key_F8, Qt::NoModifier},
                                           Shortcut{"mnuToolsSearchNotes", Qt::Key_F9, Qt::NoModifier},
                                           Shortcut{"mnuFavsAdd", Qt::Key_A, Qt::ControlModifier},
                                           Shortcut{"mnuFavsDelete", Qt::Key_D, Qt::ControlModifier},
                                           Shortcut{"mnuHelpTopics", Qt::Key_F1, Qt::NoModifier},
                                           Shortcut{"mnuHelpAbout", Qt::Key_H, Qt::ControlModifier}),
                         [](const auto &info) { return std::string(info.param.command); });

struct EntryInMenu
{
    const char *entry;
    const char *menu;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

void PrintTo(const EntryInMenu &entry, std::ostream *out)
{
    *out << entry.entry;
}

class DisabledMenu : public CommandSurfaceTest, public ::testing::WithParamInterface<EntryInMenu>
{
};

TEST_P(DisabledMenu, shortcutOfAnEnabledEntryInsideDoesNotRun)
{
    const EntryInMenu shortcut = GetParam();
    probeAllCommands();
    enableWithMenus(shortcut.entry);
    ui().commands->setEnabled(shortcut.menu, false);
    ASSERT_TRUE(ui().commands->isEnabled(shortcut.entry));
    focusNeutralControl();
    QTest::keyClick(activeMainWindow(), shortcut.key, shortcut.modifiers);
    EXPECT_TRUE(m_ran.isEmpty()) << m_ran.join(", ").toStdString();

    // The same key runs once the menu is enabled again.
    ui().commands->setEnabled(shortcut.menu, true);
    QTest::keyClick(activeMainWindow(), shortcut.key, shortcut.modifiers);
    EXPECT_EQ(m_ran, QStringList{shortcut.entry});
}

INSTANTIATE_TEST_SUITE_P(Menus, DisabledMenu,
                         ::testing::Values(EntryInMenu{"mnuNavFirst", "mnuNavigate", Qt::Key_F2, Qt::NoModifier},
                                           EntryInMenu{"mnuAddTopic", "mnuEdit", Qt::Key_T, Qt::ControlModifier},
                                           EntryInMenu{"mnuFavsAdd", "mnuFavs", Qt::Key_A, Qt::ControlModifier},
                                           EntryInMenu{"mnuToolsSearchText", "mnuToolsSearch", Qt::Key_F6,
                                                       Qt::NoModifier},
                                           EntryInMenu{"mnuToolsSearchName", "mnuTools", Qt::Key_F7, Qt::NoModifier}),
                         [](const auto &info) { return std::string(info.param.entry); });

TEST_F(CommandSurfaceTest, ctrlNWithTheInfoTabsHiddenChangesNothing)
{
    ASSERT_TRUE(ui().tabInfo->isHidden());
    enableWithMenus("mnuViewNotes");
    ui().tabInfo->setCurrentIndex(1);
    focusNeutralControl();
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(activeMainWindow(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ui().tabInfo->currentIndex(), 1);
    EXPECT_TRUE(ui().tabInfo->isHidden());
    EXPECT_EQ(QApplication::focusWidget(), focus);
}

TEST_F(CommandSurfaceTest, notesAndPreviewFocusTheShownInfoTabs)
{
    showSitePin();
    focusNeutralControl();
    QTest::keyClick(activeMainWindow(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(ui().tabInfo->currentIndex(), 1);
    EXPECT_TRUE(ui().tabInfo->hasFocus());
    EXPECT_TRUE(ui().txtNotes->isHidden());
    EXPECT_FALSE(ui().wbPreview->isHidden());

    focusNeutralControl();
    QTest::keyClick(activeMainWindow(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ui().tabInfo->currentIndex(), 0);
    EXPECT_TRUE(ui().tabInfo->hasFocus());
    EXPECT_TRUE(ui().txtNotes->isVisible());
}

struct ViewEntry
{
    const char *entry;
    int tab;
};

class ViewMenuTab : public CommandSurfaceTest, public ::testing::WithParamInterface<ViewEntry>
{
};

TEST_P(ViewMenuTab, showsItsLeftTabAndRunsTheSwitchRulesEvenWhenShown)
{
    for (int from : {0, 1, 2}) {
        ui().tabIndex->setCurrentIndex(from);
        // Hidden by hand: only the switch rules bring the tab's buttons back.
        for (QWidget *button : {static_cast<QWidget *>(ui().cmdMoveSP), static_cast<QWidget *>(ui().cmdSearch),
                                static_cast<QWidget *>(ui().cmdFAdd)})
            button->hide();
        runMenu(GetParam().entry);
        EXPECT_EQ(ui().tabIndex->currentIndex(), GetParam().tab);
        EXPECT_EQ(ui().cmdMoveSP->isVisible(), GetParam().tab == 0) << "from " << from;
        EXPECT_EQ(ui().cmdSearch->isVisible(), GetParam().tab == 1) << "from " << from;
        EXPECT_EQ(ui().cmdFAdd->isVisible(), GetParam().tab == 2) << "from " << from;
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, ViewMenuTab,
                         ::testing::Values(ViewEntry{"mnuViewIndex", 0}, ViewEntry{"mnuViewSearch", 1},
                                           ViewEntry{"mnuViewFavs", 2}),
                         [](const auto &info) { return std::string(info.param.entry); });

TEST_F(CommandSurfaceTest, hoverHelpFollowsTheButtonsLeftEdges)
{
    const QRect deleteButton = buttonWidget(3)->geometry();
    const QRect separator = buttonWidget(4)->geometry();
    const QRect first = buttonWidget(5)->geometry();

    pointAtToolbar(deleteButton.center().x());
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
    showSitePin();
    QLabel *address = ui().lblAddress;
    ASSERT_EQ(address->text(), "http://intranet.example");
    const auto expectRestLook = [address](const char *where) {
        EXPECT_FALSE(address->font().underline()) << where;
        EXPECT_EQ(address->palette().color(QPalette::WindowText), QColor(0, 0, 255)) << where;
    };
    const auto hover = [&] {
        QTest::mouseMove(address, QPoint(5, address->height() / 2));
        EXPECT_TRUE(address->font().underline());
        EXPECT_EQ(address->palette().color(QPalette::WindowText), QColor(255, 68, 68));
    };
    expectRestLook("at first");

    hover();
    EXPECT_EQ(address->toolTip(), "Open Intranet in a new browser window");
    pointAtSurface(ui().Frame2);
    expectRestLook("over Frame2");

    hover();
    pointAtSurface(ui().Frame1);
    expectRestLook("over Frame1");

    hover();
    pointAtSurface(ui().client);
    expectRestLook("over the window background");

    // Over an empty label: no look, no tooltip.
    address->setText(QString());
    QTest::mouseMove(address, QPoint(6, address->height() / 2));
    EXPECT_EQ(address->toolTip(), "");
    expectRestLook("over the empty label");
}

TEST_F(CommandSurfaceTest, frame3AndPicture1EmptyThePanelButNotTheOtherFrames)
{
    showSitePin();
    const auto helpText = [this] {
        ui().StatusBar1->setPanelText(1, "help");
    };

    helpText();
    pointAtSurface(ui().Frame3);
    EXPECT_EQ(panel1(), "");

    helpText();
    pointAtSurface(ui().Picture1);
    EXPECT_EQ(panel1(), "");

    helpText();
    pointAtSurface(ui().Frame1);
    pointAtSurface(ui().Frame2);
    EXPECT_EQ(panel1(), "help");
}

TEST_F(CommandSurfaceTest, leftTabsEmptyThePanelAndTheSplitterTipsAndRestTheAddress)
{
    showSitePin();
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
    EXPECT_EQ(ui().lblAddress->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // Over a control on the tab the tab control itself does not hear the mouse.
    ui().StatusBar1->setPanelText(1, "help");
    QTest::mouseMove(ui().tvwTopics->viewport(), QPoint(30, 5));
    EXPECT_EQ(panel1(), "help");
}

TEST_F(CommandSurfaceTest, helpMenuHoldsThreeEntriesAndOneSeparator)
{
    QMenu *help = ui().commands->menu("mnuHelp");
    ASSERT_TRUE(help);
    QStringList shown;
    for (const QAction *action : help->actions())
        shown << (action->isSeparator() ? QStringLiteral("—") : action->text());
    EXPECT_EQ(shown, (QStringList{"&Help Contents...", "—", "&About SitePins Manager...", "SitePins on the &Web..."}));
    EXPECT_EQ(help->actions().at(1)->objectName(), "mnuHelpSeparator");
}

TEST_F(CommandSurfaceTest, aboutOpensModallyAndItsMailLabelWritesToSupport)
{
    QString seenName;
    QWidget *seenParent = nullptr;
    bool wasModal = false;
    std::function<void()> answer = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(10, answer);
            return;
        }
        seenName = modal->objectName();
        seenParent = modal->parentWidget();
        wasModal = modal->isModal();
        if (auto *about = qobject_cast<frmHelpAbout *>(modal))
            QTest::mouseClick(about->lblEMail(), Qt::LeftButton);
        modal->close();
    };
    QTimer::singleShot(0, answer);
    runMenu("mnuHelpAbout");
    // The command returned only once the window had been answered and closed.
    EXPECT_EQ(seenName, "frmHelpAbout");
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(seenParent, &window());
    ASSERT_EQ(m_desktop.opened.size(), 1u);
    EXPECT_EQ(m_desktop.opened.front(), QUrl("mailto:support@example.org?Subject=Customer query"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
