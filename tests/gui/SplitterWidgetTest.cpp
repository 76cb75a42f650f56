#include "layout/SplitterWidget.h"
#include "layout/logic/Splitter.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

// A 200 x 100 pixel splitter (3000 x 1500 twips at 96 dpi) with the folder
// tree and the SitePin list as its panes.
class SplitterWidgetFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        top = new QTreeWidget(&splitter);
        top->setObjectName(QStringLiteral("tvwTopics"));
        bottom = new QTreeWidget(&splitter);
        bottom->setObjectName(QStringLiteral("tvwWM"));
        splitter.splitter().setChild1("TVWTOPICS");
        splitter.splitter().setChild2("tvwwm");
        splitter.resize(200, 100);
        splitter.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&splitter));
        if (splitter.twipsScale().twipsPerPixelX() != 15 || splitter.twipsScale().twipsPerPixelY() != 15)
            GTEST_SKIP() << "expects a 96 dpi screen";
        bar = splitter.findChild<QWidget *>(QStringLiteral("picSplitter"));
        ASSERT_NE(bar, nullptr);
    }

    void press(int x) { QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(x, 50)); }
    void moveBy(int x) { QTest::mouseMove(bar, QPoint(2 + x, 50)); }
    void release() { QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(2, 50)); }

    SplitterWidget splitter;
    QWidget *top = nullptr;
    QWidget *bottom = nullptr;
    QWidget *bar = nullptr;
};

TEST_F(SplitterWidgetFixture, resizingLaysOutTheNamedChildren)
{
    EXPECT_EQ(top->geometry(), QRect(0, 0, 98, 100));
    EXPECT_EQ(bar->geometry(), QRect(98, 0, 5, 100));
    EXPECT_EQ(bottom->geometry(), QRect(103, 0, 97, 100));

    QSignalSpy resized(&splitter, &SplitterWidget::resized);
    splitter.resize(400, 60);
    QTRY_COMPARE(top->geometry(), QRect(0, 0, 198, 60));
    EXPECT_EQ(bottom->geometry(), QRect(203, 0, 197, 60));
    EXPECT_GE(resized.count(), 1);
}

// A "ListView" type name, from the property over the class name, gets the
// list's adjustment; a frame moves the panes inside; a vertical bar takes the
// other cursor.
TEST_F(SplitterWidgetFixture, settingsChangeThePanesAndTheBar)
{
    top->setProperty("typeName", QStringLiteral("ListView"));
    splitter.splitter().handleResize();
    EXPECT_EQ(top->geometry(), QRect(-1, -1, 100, 102));
    EXPECT_EQ(bottom->geometry(), QRect(103, 0, 97, 100));
    top->setProperty("typeName", QVariant());
    splitter.splitter().setBorderStyle(1);
    EXPECT_EQ(top->geometry().topLeft(), QPoint(1, 1));
    EXPECT_EQ(bottom->geometry().bottomRight(), QPoint(198, 98));
    splitter.splitter().setBorderStyle(0);

    EXPECT_EQ(bar->cursor().shape(), Qt::SizeHorCursor);
    splitter.splitter().setOrientation(1);
    EXPECT_EQ(bar->cursor().shape(), Qt::SizeVerCursor);
    EXPECT_EQ(top->geometry(), QRect(0, 0, 200, 48));
}

// The bar's own key and mouse events reach the splitter, live or ghost; the
// drag takes the focus for Escape and gives it back.
TEST_F(SplitterWidgetFixture, escapeCancelsTheDragLiveOrGhost)
{
    for (const bool live : {true, false}) {
        splitter.splitter().setLiveUpdate(live);
        top->setFocus();
        press(2);
        EXPECT_EQ(splitter.focusWidget(), bar);
        moveBy(50);
        EXPECT_EQ(bar->x(), 148);
        EXPECT_EQ(top->width(), live ? 148 : 98);
        EXPECT_EQ(bar->palette().color(QPalette::Window) == QColor(64, 64, 64), !live) << "the ghost look";
        QTest::keyClick(bar, Qt::Key_Escape);
        EXPECT_EQ(bar->x(), 98);
        EXPECT_EQ(top->width(), 98);
        moveBy(80);
        release();
        EXPECT_EQ(bar->x(), 98);
        EXPECT_EQ(splitter.splitter().splitterPos(), 1463);
        EXPECT_EQ(bar->palette().color(QPalette::Window), QApplication::palette(bar).color(QPalette::Button));
        EXPECT_EQ(splitter.focusWidget(), top);
    }
}

} // namespace
