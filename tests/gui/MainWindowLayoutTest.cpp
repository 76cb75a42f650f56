#include "LibraryText.h"
#include "MainWindowFixture.h"
#include "layout/SplitterWidget.h"
#include "layout/logic/Splitter.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

#include <cmath>

namespace {

using L = LibraryText;

QString library()
{
    return L::folder(1, "Work",
                     L::sitePin(1, "Intranet", "http://intranet.example", "", "TRUE") +
                         L::sitePin(2, "Wiki", "http://wiki.example"),
                     L::folder(2, "Projects", L::sitePin(3, "Tracker", "http://tracker.example"))) +
           L::folder(3, "Home");
}

// Every size is compared in pixels: the window works in twips, 15 to a pixel
// at 96 dpi, and each edge is rounded on its own, so one pixel either way is
// the same place.
class MainWindowLayoutTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        writeLibraryBody(library());
        start();
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

    // Client area in twips, as the resize pass sees it.
    double clientW() { return tw(ui().client->width()); }
    double clientH() { return twY(ui().client->height()); }
    int outerWidth() { return window().frameGeometry().width(); }

    void expectPanelsFillTheOuterWidth()
    {
        PanelStatusBar *bar = ui().StatusBar1;
        EXPECT_EQ(bar->panelWidth(1), ui().tabIndex->width());
        EXPECT_NEAR(bar->panelWidth(3), px(1500), 1.0);
        EXPECT_EQ(bar->panelWidth(1) + bar->panelWidth(2) + bar->panelWidth(3), outerWidth());
        EXPECT_EQ(bar->width(), outerWidth());
        // Side by side from the bar's left edge, the last one ending at its right edge.
        int left = 0;
        for (int panel = 1; panel <= 3; ++panel) {
            const QRect shown = bar->panel(panel)->geometry();
            EXPECT_EQ(shown.left(), left) << "panel " << panel;
            EXPECT_EQ(shown.width(), bar->panelWidth(panel)) << "panel " << panel;
            EXPECT_GE(shown.top(), 0) << "panel " << panel;
            EXPECT_LE(shown.bottom(), bar->height() - 1) << "panel " << panel;
            left += shown.width();
        }
        EXPECT_EQ(left, bar->width());
    }

    void expectMoveButtonsPlaced()
    {
        const QRect tab = ui().tabIndex->geometry();
        for (auto [button, left] : {std::pair{ui().cmdMoveSP, 200}, std::pair{ui().cmdMoveFolder, 1020}}) {
            EXPECT_NEAR(button->x(), tab.x() + px(left), 1.0) << button->objectName().toStdString();
            EXPECT_NEAR(button->y(), tab.y() + pxY(twY(tab.height()) - 450), 1.0) << button->objectName().toStdString();
        }
    }

    void press(QWidget *bar, QPoint at) { QTest::mousePress(bar, Qt::LeftButton, {}, at); }
    void moveTo(QWidget *bar, QPoint at) { QTest::mouseMove(bar, at); }
    void release(QWidget *bar, QPoint at) { QTest::mouseRelease(bar, Qt::LeftButton, {}, at); }
};

#define EXPECT_PX(actual, twips) EXPECT_NEAR((actual), px(twips), 1.0) << #actual
#define EXPECT_PXY(actual, twips) EXPECT_NEAR((actual), pxY(twips), 1.0) << #actual

struct WindowSize
{
    const char *label;
    int width; // 0: the size the program starts with
    int height;
};

void PrintTo(const WindowSize &size, std::ostream *out)
{
    *out << size.label << " " << size.width << "x" << size.height;
}

class ResizePasses : public MainWindowLayoutTest, public ::testing::WithParamInterface<WindowSize>
{
};

} // namespace

TEST_P(ResizePasses, everyElementFollowsTheWindowAndTheLeftPane)
{
    if (GetParam().width > 0)
        resizeWindow(GetParam().width, GetParam().height);
    const frmSitePinsUi &u = ui();
    const double w = clientW();
    const double h = clientH();

    EXPECT_EQ(u.Toolbar1->geometry(), QRect(0, 0, u.client->width(), qRound(pxY(420))));
    EXPECT_EQ(u.StatusBar1->geometry().bottom(), u.client->height() - 1);
    EXPECT_PXY(u.Splitter1->height(), h - 1940);
    EXPECT_PX(u.Splitter2->width(), w - 20);
    EXPECT_PXY(u.Splitter2->height(), h - 900);
    EXPECT_EQ(u.Splitter2->pos(), QPoint(0, qRound(pxY(480))));

    // Maintain 0: the bar keeps its distance from the left edge.
    EXPECT_PX(u.tabIndex->width(), 3402);
    EXPECT_EQ(u.tabIndex->height(), u.Splitter2->height());
    const double tabW = tw(u.tabIndex->width());
    const double tabH = twY(u.tabIndex->height());
    EXPECT_PXY(u.tvwSearch->height(), tabH - 2550);
    EXPECT_PXY(u.tvwFavs->height(), tabH - 1100);
    EXPECT_PX(u.Splitter1->width(), tabW - 250);
    EXPECT_PX(u.tvwSearch->width(), tabW - 250);
    EXPECT_PX(u.txtSearch->width(), tabW - 250);
    EXPECT_PX(u.tvwFavs->width(), tabW - 250);
    EXPECT_PX(u.lblFound->x(), tabW - 780);
    EXPECT_PX(u.Label9->x(), tabW - 1300);
    EXPECT_PX(u.cmdSearch->x(), tabW - 950);
    expectPanelsFillTheOuterWidth();
    expectMoveButtonsPlaced();

    const double picW = tw(u.Picture1->width());
    const double picH = twY(u.Picture1->height());
    ASSERT_GT(picW, 2520);
    EXPECT_PX(u.tabInfo->width(), picW - 2520);
    EXPECT_PXY(u.tabInfo->height(), picH - 1550);
    const double infoW = tw(u.tabInfo->width());
    const double infoH = twY(u.tabInfo->height());
    EXPECT_PX(u.txtNotes->width(), infoW - 250);
    EXPECT_PXY(u.txtNotes->height(), infoH - 600);
    EXPECT_PX(u.wbPreview->width(), infoW - 250);
    EXPECT_PXY(u.wbPreview->height(), infoH - 1320);
    EXPECT_PX(u.lblStatus->width(), infoW - 1000);
    EXPECT_PXY(u.lblDescription->height(), infoH - 500);
    EXPECT_PXY(u.txtDescription->height(), infoH - 500);
    EXPECT_PXY(u.Frame1->height(), infoH + 340);
    EXPECT_EQ(u.Frame3->width(), outerWidth());
    EXPECT_EQ(u.Frame2->width(), outerWidth());
    for (QWidget *field :
         {static_cast<QWidget *>(u.lblTName), static_cast<QWidget *>(u.txtWName), static_cast<QWidget *>(u.txtAddress),
          static_cast<QWidget *>(u.lblWName), static_cast<QWidget *>(u.lblAddress)})
        EXPECT_PX(field->width(), picW - 1200) << field->objectName().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResizePasses,
                         ::testing::Values(WindowSize{"initial", 0, 0}, WindowSize{"large", 1400, 900},
                                           WindowSize{"small", 640, 480}, WindowSize{"wide", 1200, 420},
                                           WindowSize{"tall", 720, 1000}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(MainWindowLayoutTest, startsAtTheDesignedSplitterPositions)
{
    EXPECT_EQ(ui().Splitter2->splitter().currSplitterPos(), 3402);
    EXPECT_FLOAT_EQ(ui().Splitter2->splitter().ratioFromTop(), 0.334f);
    EXPECT_FALSE(ui().Splitter2->splitter().liveUpdate());
    EXPECT_TRUE(ui().Splitter1->splitter().liveUpdate());
    EXPECT_EQ(ui().Splitter1->splitter().orientation(), 1);
    EXPECT_EQ(ui().Splitter1->splitter().splitterSize(), 80);
    EXPECT_EQ(ui().Splitter1->splitter().minSize1(), 0);
}

struct ClientHeight
{
    int pixels;
    bool splitter1Follows; // only above 1940 twips is H - 1940 a height at all
};

void PrintTo(const ClientHeight &height, std::ostream *out)
{
    *out << "client height " << height.pixels << " px";
}

class SmallClientHeight : public MainWindowLayoutTest, public ::testing::WithParamInterface<ClientHeight>
{
};

TEST_P(SmallClientHeight, leavesSplitter1AloneUntilThereIsRoomForIt)
{
    const int menuHeight = window().height() - ui().client->height();
    const int before = ui().Splitter1->height();
    resizeWindow(800, menuHeight + GetParam().pixels);
    ASSERT_EQ(ui().client->height(), GetParam().pixels);
    if (GetParam().splitter1Follows)
        EXPECT_NEAR(ui().Splitter1->height(), pxY(twY(GetParam().pixels) - 1940), 1.0);
    else
        EXPECT_EQ(ui().Splitter1->height(), before);
    // The pass went on all the same.
    expectPanelsFillTheOuterWidth();
    EXPECT_EQ(ui().StatusBar1->geometry().bottom(), ui().client->height() - 1);
}

// 93 px is 1395 twips, 94 px 1410: past 1400, but H - 1940 is still negative.
INSTANTIATE_TEST_SUITE_P(Heights, SmallClientHeight,
                         ::testing::Values(ClientHeight{60, false}, ClientHeight{93, false}, ClientHeight{94, false},
                                           ClientHeight{129, false}, ClientHeight{140, true}, ClientHeight{300, true}));

TEST_F(MainWindowLayoutTest, ghostDragOfSplitter2MovesThePanesOnlyOnRelease)
{
    QWidget *bar = ui().Splitter2->barWidget();
    ASSERT_EQ(bar->objectName(), "picSplitter");
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
    expectPanelsFillTheOuterWidth();
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

TEST_F(MainWindowLayoutTest, leftPaneDraggedToNothingDoesNotStopThePass)
{
    QWidget *bar = ui().Splitter2->barWidget();
    const int splitter1Width = ui().Splitter1->width();
    const int searchWidth = ui().txtSearch->width();
    const int favsWidth = ui().tvwFavs->width();

    press(bar, QPoint(2, 50));
    moveTo(bar, QPoint(-1000, 50));
    release(bar, QPoint(2, 50));
    ASSERT_EQ(ui().Splitter2->splitter().currSplitterPos(), 0);
    ASSERT_EQ(ui().tabIndex->width(), 0);

    // The left pane's controls keep their last sizes ...
    EXPECT_EQ(ui().Splitter1->width(), splitter1Width);
    EXPECT_EQ(ui().txtSearch->width(), searchWidth);
    EXPECT_EQ(ui().tvwFavs->width(), favsWidth);
    // ... and the rest of the pass still ran.
    EXPECT_EQ(ui().StatusBar1->panelWidth(1), 0);
    expectPanelsFillTheOuterWidth();
    expectMoveButtonsPlaced();
    EXPECT_PX(ui().tabInfo->width(), tw(ui().Picture1->width()) - 2520);

    // A resize with the pane still at nothing moves the buttons down with it.
    resizeWindow(window().width(), window().height() + 60);
    EXPECT_EQ(ui().Splitter1->width(), splitter1Width);
    expectPanelsFillTheOuterWidth();
    expectMoveButtonsPlaced();
}

TEST_F(MainWindowLayoutTest, favouritesTabRebuildsAnEmptyListAndLeavesAFilledOne)
{
    ui().tvwFavs->clear();
    window().m_colFavs = QStringList{"W99"};
    window().selectLeftTab(2);
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList{"Intranet"});
    EXPECT_EQ(window().m_colFavs, QStringList{"W1"});

    window().selectLeftTab(0);
    ui().tvwFavs->addTopLevelItem(new QTreeWidgetItem(QStringList{"Marker"}));
    window().selectLeftTab(2);
    EXPECT_EQ(entryNames(ui().tvwFavs), (QStringList{"Intranet", "Marker"}));
    EXPECT_EQ(window().m_colFavs, QStringList{"W1"});
}

struct TabButtons
{
    int tab;
    bool moveButtons;
    bool search;
    bool favourites;
};

void PrintTo(const TabButtons &buttons, std::ostream *out)
{
    *out << "tab " << buttons.tab;
}

class TabSwitch : public MainWindowLayoutTest, public ::testing::WithParamInterface<TabButtons>
{
};

TEST_P(TabSwitch, showsTheButtonsOfTheTabAndMakesItsDefault)
{
    const TabButtons expected = GetParam();
    for (int from : {0, 1, 2}) {
        window().selectLeftTab(from);
        window().selectLeftTab(expected.tab);
        EXPECT_EQ(ui().tabIndex->currentIndex(), expected.tab);
        EXPECT_EQ(ui().cmdMoveSP->isVisible(), expected.moveButtons) << "from " << from;
        EXPECT_EQ(ui().cmdMoveFolder->isVisible(), expected.moveButtons) << "from " << from;
        EXPECT_EQ(ui().cmdSearch->isVisible(), expected.search) << "from " << from;
        EXPECT_EQ(ui().cmdFAdd->isVisible(), expected.favourites) << "from " << from;
        EXPECT_EQ(ui().cmdFDelete->isVisible(), expected.favourites) << "from " << from;
        if (expected.tab != 0) {
            EXPECT_EQ(ui().cmdSearch->isDefault(), expected.search) << "from " << from;
            EXPECT_EQ(ui().cmdFAdd->isDefault(), expected.favourites) << "from " << from;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Tabs, TabSwitch,
                         ::testing::Values(TabButtons{0, true, false, false}, TabButtons{1, false, true, false},
                                           TabButtons{2, false, false, true}));

struct SearchText
{
    const char *label;
    int length;
    bool alreadyShown; // the View menu's way: the tab is shown and chosen again
};

void PrintTo(const SearchText &text, std::ostream *out)
{
    *out << text.label;
}

class SearchTabSwitch : public MainWindowLayoutTest, public ::testing::WithParamInterface<SearchText>
{
};

TEST_P(SearchTabSwitch, selectsTheFirstFortyCharactersAndFocusesTheBox)
{
    QString text;
    for (int i = 0; i < GetParam().length; ++i)
        text += QChar(u'a' + i % 26);
    if (GetParam().alreadyShown) {
        ui().tabIndex->setCurrentIndex(1);
        ui().tvwSearch->setFocus();
        ui().txtSearch->setText(text);
        ui().txtSearch->deselect();
        window().selectLeftTab(1);
    } else {
        ui().txtSearch->setText(text);
        ui().txtSearch->deselect();
        ui().tvwTopics->setFocus();
        ui().tabIndex->setCurrentIndex(1);
    }
    EXPECT_EQ(ui().txtSearch->selectionStart(), GetParam().length > 0 ? 0 : -1);
    EXPECT_EQ(ui().txtSearch->selectedText(), text.left(40));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui().txtSearch->hasFocus(); }, 1000));
    EXPECT_EQ(ui().txtSearch->selectedText(), text.left(40)); // taking the focus kept it
}

INSTANTIATE_TEST_SUITE_P(Texts, SearchTabSwitch,
                         ::testing::Values(SearchText{"long", 60, false}, SearchText{"exactly40", 40, false},
                                           SearchText{"short", 12, false}, SearchText{"empty", 0, false},
                                           SearchText{"longAgain", 60, true}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(MainWindowLayoutTest, previewTabHidesTheNotesAndTheNotesTabHidesThePreview)
{
    ui().tabInfo->setCurrentIndex(1);
    EXPECT_TRUE(ui().txtNotes->isHidden());
    EXPECT_FALSE(ui().wbPreview->isHidden());
    ui().tabInfo->setCurrentIndex(0);
    EXPECT_FALSE(ui().txtNotes->isHidden());
    // Marked visible again; the Preview page keeps it out of view.
    EXPECT_FALSE(ui().wbPreview->isHidden());
}
