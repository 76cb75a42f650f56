#include "MainWindowFixture.h"
#include "layout/logic/Splitter.h"
#include "mainwindow/SitePinListModel.h"

#include <QToolBar>

namespace {

using L = LibraryText;

// Every size is compared in pixels: the window works in twips, 15 to a pixel
// at 96 dpi, and each edge is rounded on its own, so one pixel either way is
// the same place.
class MainWindowLayoutTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        startWith(L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example", "", "TRUE")) +
                  L::folder(3, "Home"));
    }

    double px(double twips) { return twips / ui().scale.twipsPerPixelX(); }
    double pxY(double twips) { return twips / ui().scale.twipsPerPixelY(); }
    double tw(int pixels) { return pixels * ui().scale.twipsPerPixelX(); }
    double twY(int pixels) { return pixels * ui().scale.twipsPerPixelY(); }

    void resizeWindow(int width, int height)
    {
        window().resize(width, height);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window().size() == QSize(width, height); }, 2000));
        QCoreApplication::processEvents();
    }

    // What every window and pane pass leaves: the status panels side by side
    // across the outer width, panel 1 as wide as the left pane, and the move
    // buttons at their place on the left tabs.
    void expectPassRan()
    {
        PanelStatusBar *bar = ui().StatusBar1;
        EXPECT_EQ(bar->panelWidth(1), ui().tabIndex->width());
        EXPECT_NEAR(bar->panelWidth(3), px(1500), 1.0);
        EXPECT_EQ(bar->width(), window().frameGeometry().width());
        int left = 0;
        for (int panel = 1; panel <= 3; ++panel) {
            const QRect shown = bar->panel(panel)->geometry();
            EXPECT_EQ(shown.left(), left) << "panel " << panel;
            EXPECT_EQ(shown.width(), bar->panelWidth(panel)) << "panel " << panel;
            EXPECT_GE(shown.top(), 0) << "panel " << panel;
            EXPECT_LE(shown.bottom(), bar->height() - 1) << "panel " << panel;
            left += shown.width();
        }
        EXPECT_EQ(left, window().frameGeometry().width());

        const QRect tab = ui().tabIndex->geometry();
        for (auto [button, x] : {std::pair{ui().cmdMoveSP, 200}, std::pair{ui().cmdMoveFolder, 1020}}) {
            EXPECT_NEAR(button->x(), tab.x() + px(x), 1.0) << button->objectName().toStdString();
            EXPECT_NEAR(button->y(), tab.y() + pxY(twY(tab.height()) - 450), 1.0) << button->objectName().toStdString();
        }
    }

    void press(QWidget *bar, QPoint at) { QTest::mousePress(bar, Qt::LeftButton, {}, at); }
    void moveTo(QWidget *bar, QPoint at) { QTest::mouseMove(bar, at); }
    void release(QWidget *bar, QPoint at) { QTest::mouseRelease(bar, Qt::LeftButton, {}, at); }
};

#define EXPECT_PX(actual, twips) EXPECT_NEAR((actual), px(twips), 1.0) << #actual

} // namespace

TEST_F(MainWindowLayoutTest, everyElementFollowsTheWindowAndTheLeftPane)
{
    const frmSitePinsUi &u = ui();
    for (const QSize size : {QSize(), QSize(1400, 900), QSize(640, 480), QSize(1200, 420), QSize(720, 1000)}) {
        SCOPED_TRACE(size.width());
        if (size.isValid())
            resizeWindow(size.width(), size.height());
        const double w = tw(u.client->width());
        const double h = twY(u.client->height());
        EXPECT_EQ(u.Toolbar1->geometry(), QRect(0, 0, u.client->width(), qRound(pxY(420))));
        EXPECT_EQ(u.StatusBar1->geometry().bottom(), u.client->height() - 1);
        EXPECT_EQ(u.Splitter2->pos(), QPoint(0, qRound(pxY(480))));
        EXPECT_EQ(u.tabIndex->height(), u.Splitter2->height());
        expectPassRan();

        const double tabW = tw(u.tabIndex->width());
        const double tabH = twY(u.tabIndex->height());
        const double picW = tw(u.Picture1->width());
        const double picH = twY(u.Picture1->height());
        ASSERT_GT(picW, 2520);
        const double infoW = tw(u.tabInfo->width());
        const double infoH = twY(u.tabInfo->height());
        // A sample of each pane's controls: width, then height, in twips; -1: not checked here.
        // Splitter2 keeps its bar's distance from the left edge (Maintain 0).
        const std::tuple<QWidget *, double, double> sizes[] = {
            {u.Splitter2, w - 20, h - 900},        {u.tabIndex, 3402, -1},
            {u.Splitter1, tabW - 250, h - 1940},   {u.tvwSearch, tabW - 250, tabH - 2550},
            {u.tabInfo, picW - 2520, picH - 1550}, {u.txtNotes, infoW - 250, infoH - 600},
            {u.Frame1, -1, infoH + 340},           {u.lblWName, picW - 1200, -1}};
        for (const auto &[control, width, height] : sizes) {
            EXPECT_NEAR(control->width(), px(width < 0 ? tw(control->width()) : width), 1.0)
                << control->objectName().toStdString();
            EXPECT_NEAR(control->height(), pxY(height < 0 ? twY(control->height()) : height), 1.0)
                << control->objectName().toStdString();
        }
    }
}

// Only above 1940 twips is H - 1940 a height at all: 93 px is 1395 twips,
// 94 px 1410, past 1400 but still short of it.
TEST_F(MainWindowLayoutTest, smallClientHeightLeavesSplitter1AloneUntilThereIsRoomForIt)
{
    const int menuHeight = window().height() - ui().client->height();
    const int before = ui().Splitter1->height();
    for (const int height : {93, 94, 129, 140}) {
        resizeWindow(800, menuHeight + height);
        ASSERT_EQ(ui().client->height(), height);
        if (height < 130)
            EXPECT_EQ(ui().Splitter1->height(), before) << height;
        else
            EXPECT_NEAR(ui().Splitter1->height(), pxY(twY(height) - 1940), 1.0);
        // The pass went on all the same.
        expectPassRan();
        EXPECT_EQ(ui().StatusBar1->geometry().bottom(), ui().client->height() - 1);
    }
}

// Dragged to nothing, the left pane's controls keep their last sizes and the
// rest of the pass still runs, a later window resize included.
TEST_F(MainWindowLayoutTest, ghostDragOfSplitter2MovesThePanesOnlyOnReleaseEvenToNothing)
{
    QWidget *bar = ui().Splitter2->barWidget();
    const int tabWidth = ui().tabIndex->width();
    const QRect picture = ui().Picture1->geometry();
    const int splitter1Width = ui().Splitter1->width();
    const int panel1 = ui().StatusBar1->panelWidth(1);

    press(bar, QPoint(2, 50));
    moveTo(bar, QPoint(2 - 60, 50));
    EXPECT_EQ(bar->x(), tabWidth - 60);
    EXPECT_EQ(ui().tabIndex->width(), tabWidth);
    EXPECT_EQ(ui().Picture1->geometry(), picture);
    EXPECT_EQ(ui().Splitter1->width(), splitter1Width);
    EXPECT_EQ(ui().StatusBar1->panelWidth(1), panel1);
    moveTo(bar, QPoint(2 - 20, 50));
    EXPECT_EQ(bar->x(), tabWidth - 80);
    EXPECT_EQ(ui().tabIndex->width(), tabWidth);

    release(bar, QPoint(2, 50));
    EXPECT_NEAR(ui().tabIndex->width(), tabWidth - 80, 1);
    EXPECT_NEAR(ui().Picture1->x(), bar->geometry().right() + 1, 1);
    EXPECT_PX(ui().Splitter1->width(), tw(ui().tabIndex->width()) - 250);
    EXPECT_PX(ui().txtSearch->width(), tw(ui().tabIndex->width()) - 250);
    EXPECT_PX(ui().tabInfo->width(), tw(ui().Picture1->width()) - 2520);
    expectPassRan();

    const QList<int> leftWidths{ui().Splitter1->width(), ui().txtSearch->width(), ui().tvwFavs->width()};
    const auto expectLeftWidthsKept = [&] {
        EXPECT_EQ(QList<int>({ui().Splitter1->width(), ui().txtSearch->width(), ui().tvwFavs->width()}), leftWidths);
    };
    press(bar, QPoint(2, 50));
    moveTo(bar, QPoint(-1000, 50));
    release(bar, QPoint(2, 50));
    ASSERT_EQ(ui().Splitter2->splitter().currSplitterPos(), 0);
    ASSERT_EQ(ui().tabIndex->width(), 0);
    expectLeftWidthsKept();
    EXPECT_EQ(ui().StatusBar1->panelWidth(1), 0);
    expectPassRan();
    EXPECT_PX(ui().tabInfo->width(), tw(ui().Picture1->width()) - 2520);
    resizeWindow(window().width(), window().height() + 60);
    expectLeftWidthsKept();
    expectPassRan();
}

TEST_F(MainWindowLayoutTest, liveDragOfSplitter1ResizesTheTreeAndListAsTheBarMoves)
{
    QWidget *bar = ui().Splitter1->barWidget();
    const int treeHeight = ui().tvwTopics->height();
    const int listTop = ui().tvwWM->y();

    press(bar, QPoint(50, 2));
    moveTo(bar, QPoint(50, 2 + 40));
    EXPECT_NEAR(ui().tvwTopics->height(), treeHeight + 40, 1);
    EXPECT_NEAR(ui().tvwWM->y(), listTop + 40, 1);
    moveTo(bar, QPoint(50, 2 - 20));
    EXPECT_NEAR(ui().tvwTopics->height(), treeHeight + 20, 1);
    release(bar, QPoint(50, 2));
    EXPECT_NEAR(ui().tvwTopics->height(), treeHeight + 20, 1);
    EXPECT_EQ(ui().tvwTopics->height() + bar->height() + ui().tvwWM->height(), ui().Splitter1->height());
}

TEST_F(MainWindowLayoutTest, favouritesTabRebuildsAnEmptyListAndLeavesAFilledOne)
{
    ui().favsModel->clear();
    window().m_colFavs = QStringList{"W99"};
    window().selectLeftTab(2);
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList{"Intranet"});
    EXPECT_EQ(window().m_colFavs, QStringList{"W1"});

    window().selectLeftTab(0);
    ui().favsModel->append({QString(), "Marker"});
    window().selectLeftTab(2);
    EXPECT_EQ(entryNames(ui().tvwFavs), (QStringList{"Intranet", "Marker"}));
    EXPECT_EQ(window().m_colFavs, QStringList{"W1"});
}

// Also the View menu's way, where the tab is shown and chosen again.
TEST_F(MainWindowLayoutTest, searchTabSelectsTheFirstFortyCharactersAndFocusesTheBox)
{
    for (const auto &[length, alreadyShown] : {std::pair{60, false}, {0, false}, {60, true}}) {
        SCOPED_TRACE(length);
        const QString text = QStringLiteral("abcdefghijklmnopqrstuvwxyz").repeated(3).left(length);
        ui().tabIndex->setCurrentIndex(alreadyShown ? 1 : 0);
        ui().tvwTopics->setFocus();
        ui().txtSearch->setText(text);
        ui().txtSearch->deselect();
        if (alreadyShown)
            window().selectLeftTab(1);
        else
            ui().tabIndex->setCurrentIndex(1);
        EXPECT_EQ(ui().txtSearch->selectionStart(), length > 0 ? 0 : -1);
        EXPECT_EQ(ui().txtSearch->selectedText(), text.left(40));
        EXPECT_TRUE(QTest::qWaitFor([&] { return ui().txtSearch->hasFocus(); }, 1000));
        EXPECT_EQ(ui().txtSearch->selectedText(), text.left(40)); // taking the focus kept it
    }
}
