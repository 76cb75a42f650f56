#include "layout/logic/Splitter.h"
#include "layout/logic/SplitterBar.h"
#include "layout/logic/SplitterChild.h"
#include "layout/logic/SplitterHost.h"
#include "layout/logic/SplitterOverflowError.h"
#include "layout/logic/SplitterPropertyBag.h"
#include "layout/logic/TwipsScale.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>

namespace {

// Left, top, width, height in twips.
using Rect = std::array<double, 4>;

struct ControlRecord
{
    std::string name, typeName;
    std::vector<Rect> moves;
    Rect last() const { return moves.empty() ? Rect{-1, -1, -1, -1} : moves.back(); }
};

// The splitter owns the children it is handed for one call; the records stay.
struct FakeChild : SplitterChild
{
    ControlRecord *record = nullptr;
    std::string name() const override { return record->name; }
    std::string typeName() const override { return record->typeName; }
    void move(double l, double t, double w, double h) override { record->moves.push_back({l, t, w, h}); }
};

// A bar whose client origin moves one pixel inward per border line, as a
// framed window's would.
class FakeBar : public SplitterBar
{
public:
    Rect rect;
    std::optional<Pointer> pointer;
    std::optional<std::int32_t> backColor; // empty: the button face colour
    std::int32_t border = 0;
    int raised = 0;

    double left() const override { return rect[0]; }
    double top() const override { return rect[1]; }
    void setRect(double l, double t, double w, double h) override { rect = {l, t, w, h}; }
    void setLeft(double l) override { rect[0] = l; }
    void setTop(double t) override { rect[1] = t; }
    void setVisible(bool) override {}
    void setPointer(Pointer p) override { pointer = p; }
    void setBackColor(std::int32_t c) override { backColor = c; }
    void setButtonFaceBackColor() override { backColor.reset(); }
    void setBorder(std::int32_t b) override { border = b; }
    void setAppearance(std::int32_t) override {}
    void bringToFront() override { ++raised; }
    Point cursorPixels() const override { return {3.0 - border, 4.0 - border}; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

// A 3000 x 2000 twip control holding "left" and "right", with a splitter that
// is either a fresh instance splitting the two or waits to be loaded.
class Rig : public SplitterHost
{
public:
    explicit Rig(bool fresh = true)
    {
        add("left");
        add("right");
        splitter.setResizeHandler([this] { ++resizes; });
        if (!fresh)
            return;
        splitter.initializeNewInstance();
        splitter.setChild1("left");
        splitter.setChild2("right");
    }
    ControlRecord &add(const std::string &name)
    {
        return *controls.emplace_back(std::make_unique<ControlRecord>(ControlRecord{name, "PictureBox", {}}));
    }
    double clientWidth() const override { return width; }
    double clientHeight() const override { return height; }
    std::vector<std::unique_ptr<SplitterChild>> containedControls() const override
    {
        std::vector<std::unique_ptr<SplitterChild>> result;
        for (const auto &control : controls) {
            auto child = std::make_unique<FakeChild>();
            child->record = control.get();
            result.push_back(std::move(child));
        }
        return result;
    }
    SplitterBar &splitterBar() override { return bar; }
    void setFrameBorder(std::int32_t) override {}

    ControlRecord &first() { return *controls[0]; }
    ControlRecord &second() { return *controls[1]; }
    void resizeTo(double newWidth, double newHeight)
    {
        width = newWidth;
        height = newHeight;
        splitter.handleResize();
    }
    // Drags the bar's grip point, 30 twips inside it, to just past `target`.
    void dragTo(double target, bool release = true)
    {
        splitter.mouseDown(Splitter::LeftButton, 30, 30);
        moveTo(target);
        if (release)
            splitter.mouseUp(Splitter::LeftButton, 0, 0);
    }
    void moveTo(double target)
    {
        // A drag-look border moves the bar's client origin under the mouse.
        const double inside = target + 30 - bar.rect[splitter.orientation() == 0 ? 0 : 1] - 15 * bar.border;
        splitter.mouseMove(Splitter::LeftButton, inside, inside);
    }

    double width = 3000, height = 2000;
    std::vector<std::unique_ptr<ControlRecord>> controls;
    FakeBar bar;
    Splitter splitter{*this};
    int resizes = 0;
};

class SplitterFixture : public ::testing::Test, public Rig
{
};

using Change = std::function<void(Splitter &)>;

TEST_F(SplitterFixture, defaultsSplitAThreeThousandTwipControlAtTheMiddleEitherWay)
{
    EXPECT_EQ(bar.rect, (Rect{1463, 0, 75, 2000}));
    EXPECT_EQ(first().last(), (Rect{0, 0, 1463, 2000}));
    EXPECT_EQ(second().last(), (Rect{1538, 0, 1462, 2000}));
    EXPECT_EQ(splitter.splitterPos(), 1463);
    EXPECT_FLOAT_EQ(splitter.currRatioFromTop(), 0.5f);
    EXPECT_EQ(bar.pointer, SplitterBar::Pointer::SizeWestEast);

    splitter.setOrientation(1);
    EXPECT_EQ(bar.pointer, SplitterBar::Pointer::SizeNorthSouth);
    EXPECT_EQ(bar.rect, (Rect{0, 963, 3000, 75}));
    EXPECT_EQ(first().last(), (Rect{0, 0, 3000, 963}));
    EXPECT_EQ(second().last(), (Rect{0, 1038, 3000, 962}));
}

// MaxSize is never below the minimum of the child it applies to, nor MinSize1 above MaxSize.
TEST(SplitterSetters, storeTheNormalisedValue)
{
    const std::tuple<Change, std::function<double(const Splitter &)>, double> cases[] = {
        {[](Splitter &s) { s.setRatioFromTop(1.7f); }, &Splitter::ratioFromTop, 1},
        {[](Splitter &s) { s.setRatioFromTop(-0.2f); }, &Splitter::ratioFromTop, 0},
        {[](Splitter &s) { s.setSplitterPos(-100); }, &Splitter::splitterPos, 0},
        {[](Splitter &s) { s.setSplitterPos(-100); }, &Splitter::currSplitterPos, 255},
        {[](Splitter &s) { s.setSplitterSize(-5); }, &Splitter::splitterSize, 0},
        {[](Splitter &s) { s.setMinSizeAux(-1); }, &Splitter::minSizeAux, 0},
        {[](Splitter &s) { s.setMinSizeAux(32767); }, &Splitter::minSizeAux, 32767},
        {[](Splitter &s) { s.setMaxSize(100); }, &Splitter::maxSize, 255},
        {[](Splitter &s) { s.setMinSize2(300), s.setMaxSizeAppliesTo(1), s.setMaxSize(100); }, &Splitter::maxSize, 300},
        {[](Splitter &s) { s.setMaxSize(280), s.setMinSize1(400); }, &Splitter::minSize1, 280}};
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        Rig rig;
        std::get<0>(cases[row])(rig.splitter);
        EXPECT_EQ(std::get<1>(cases[row])(rig.splitter), std::get<2>(cases[row])) << row;
    }
}

TEST(SplitterOverflow, raisesAndKeepsTheOldValues)
{
    const Change overflows[] = {
        [](Splitter &s) { s.setMinSize1(40000); },     [](Splitter &s) { s.setMinSize2(32768); },
        [](Splitter &s) { s.setMinSizeAux(32768); },   [](Splitter &s) { s.setSplitterPos(40000); },
        [](Splitter &s) { s.setSplitterPos(32767); }, // plus half the bar
        [](Splitter &s) { s.setSplitterSize(32767); }, // the minimum total
    };
    for (const auto &overflow : overflows) {
        SCOPED_TRACE(&overflow - overflows);
        Rig rig;
        rig.splitter.setSplitterPos(1000);
        ASSERT_THROW(overflow(rig.splitter), SplitterOverflowError);
        const Splitter &s = rig.splitter;
        EXPECT_EQ(std::tuple(s.splitterPos(), s.minSize1(), s.minSize2(), s.minSizeAux(), s.splitterSize()),
                  std::tuple(1000, 255, 255, 255, 75));
        EXPECT_FLOAT_EQ(s.ratioFromTop(), 1037.0f / 3000);
    }
    Rig rig;
    rig.width = 40000;
    EXPECT_THROW(rig.splitter.handleResize(), SplitterOverflowError) << "an extent beyond 16 bits";
}

// 585 is MinSize1 + SplitterSize + MinSize2, and width 0 must not divide by
// zero. Odd widths put the ratio's place on a half (1499.5 - 37, 1500.5 - 37).
TEST_F(SplitterFixture, resizingKeepsTheMinimaAndRoundsHalvesToEven)
{
    const std::array<double, 3> cases[] = {{2999, 1462, 1462}, {3001, 1464, 1462}, {3003, 1464, 1464}, {0, 255, 255},
                                           {585, 255, 255},    {586, 256, 255},    {700, 313, 312}};
    for (const auto &[width, barLeft, secondWidth] : cases) {
        resizeTo(width, 2000);
        EXPECT_EQ(bar.rect[0], barLeft) << width;
        EXPECT_EQ(second().last(), (Rect{barLeft + 75, 0, secondWidth, 2000})) << width;
        if (width == 0) {
            EXPECT_EQ(splitter.currRatioFromTop(), 0);
        }
    }
}

// Applying to Child2, the bar cannot go left of 5000 - 2000 - 75.
TEST(SplitterMaxSize, limitsTheDragOnEitherChild)
{
    for (const auto &[appliesTo, target, barLeft] :
         {std::tuple{0, 3000, 2000}, {0, 1500, 1500}, {1, 1000, 2925}, {1, 4000, 4000}}) {
        Rig rig;
        rig.resizeTo(5000, 2000);
        rig.splitter.setMaxSizeAppliesTo(appliesTo);
        rig.splitter.setMaxSize(2000);
        rig.dragTo(target);
        EXPECT_EQ(rig.bar.rect[0], barLeft) << appliesTo << " " << target;
    }
}

TEST(SplitterCrossExtent, neverGoesBelowMinSizeAux)
{
    for (const std::int32_t orientation : {0, 1}) {
        Rig rig;
        rig.splitter.setOrientation(orientation);
        rig.resizeTo(100, 100);
        const int cross = orientation == 0 ? 3 : 2;
        EXPECT_EQ(rig.bar.rect[cross], 255) << orientation;
        EXPECT_EQ(rig.first().last()[cross], 255) << orientation;
        EXPECT_EQ(rig.second().last()[cross], 255) << orientation;
    }
}

TEST(SplitterMaintain, keepsPositionOrRatioWhenGrowing)
{
    for (const auto &[maintain, barLeftAfter] : {std::pair{0, 1000}, {1, 2037}, {2, 255}}) {
        Rig rig;
        rig.splitter.setMaintain(maintain);
        rig.splitter.setSplitterPos(1000);
        rig.resizeTo(6000, 2000);
        EXPECT_EQ(rig.bar.rect[0], barLeftAfter) << maintain;
    }
}

class SplitterDrag : public SplitterFixture, public ::testing::WithParamInterface<bool>
{
};

TEST_P(SplitterDrag, childrenFollowLiveOrOnRelease)
{
    const bool live = GetParam();
    splitter.setLiveUpdate(live);
    const auto movesBefore = second().moves.size();
    splitter.mouseDown(Splitter::LeftButton, 30, 30);
    moveTo(2000);
    moveTo(2100);
    EXPECT_EQ(bar.rect[0], 2100);
    EXPECT_EQ(second().moves.size() - movesBefore, live ? 2u : 0u);
    EXPECT_EQ(bar.backColor, live ? std::nullopt : std::optional<std::int32_t>(0x404040));
    EXPECT_EQ(bar.border, live ? 0 : 1);
    splitter.mouseUp(Splitter::LeftButton, 30, 30);
    EXPECT_EQ(first().last(), (Rect{0, 0, 2100, 2000}));
    EXPECT_EQ(second().last(), (Rect{2175, 0, 825, 2000}));
    EXPECT_EQ(splitter.splitterPos(), 2100);
    EXPECT_FLOAT_EQ(splitter.ratioFromTop(), 2137.0f / 3000);
    EXPECT_FALSE(bar.backColor.has_value());
    EXPECT_EQ(bar.border, 0);
    EXPECT_FALSE(splitter.isDragging());
}

TEST_P(SplitterDrag, onlyTheLeftButtonDragsAndEscapeReturnsTheBarToTheDragStart)
{
    splitter.setLiveUpdate(GetParam());
    splitter.mouseDown(Splitter::RightButton, 30, 30);
    moveTo(2000);
    splitter.mouseMove(Splitter::LeftButton | Splitter::RightButton, 600, 600);
    EXPECT_FALSE(splitter.isDragging());
    EXPECT_EQ(bar.rect[0], 1463);
    EXPECT_EQ(bar.raised, 0);
    splitter.mouseUp(Splitter::RightButton, 30, 30);

    dragTo(2000, false);
    splitter.keyPress(Splitter::kEscapeKey);
    EXPECT_FALSE(splitter.isDragging());
    EXPECT_EQ(bar.rect[0], 1463);
    EXPECT_EQ(first().last()[2], 1463);
    moveTo(2500);
    EXPECT_EQ(bar.rect[0], 1463) << "the drag is over";
    splitter.mouseUp(Splitter::LeftButton, 0, 0);
    EXPECT_EQ(splitter.splitterPos(), 1463);
}

INSTANTIATE_TEST_SUITE_P(LiveAndGhost, SplitterDrag, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "live" : "ghost"; });

TEST_F(SplitterFixture, liveDragLaysOutOnlyWhenTheClampedPositionChanges)
{
    splitter.mouseDown(Splitter::LeftButton, 30, 30);
    const int before = resizes;
    moveTo(100);
    moveTo(200);
    EXPECT_EQ(bar.rect[0], 255);
    EXPECT_EQ(resizes - before, 1);
}

// The drag look's border shifts the bar's client origin by a pixel; without
// the correction the bar jumps 15 twips on the first move.
TEST_F(SplitterFixture, ghostDragCompensatesForTheDragBorder)
{
    splitter.setLiveUpdate(false);
    splitter.mouseDown(Splitter::LeftButton, 45, 45);
    splitter.mouseMove(Splitter::LeftButton, 30, 30);
    EXPECT_EQ(bar.rect[0], 1463);
    splitter.mouseMove(Splitter::LeftButton, 130, 130);
    EXPECT_EQ(bar.rect[0], 1563);
}

TEST(SplitterListView, listViewsOfAnyCaseReachOnePixelPastTheirPane)
{
    for (const auto &[typeName, a] : {std::pair{"LISTVIEW", 15.0}, {"ListView2", 0.0}, {"TreeView", 0.0}}) {
        Rig rig;
        rig.first().typeName = rig.second().typeName = typeName;
        rig.splitter.handleResize();
        EXPECT_EQ(rig.first().last(), (Rect{-a, -a, 1463 + 2 * a, 2000 + 2 * a})) << typeName;
        EXPECT_EQ(rig.second().last(), (Rect{1538 - a, -a, 1462 + 2 * a, 2000 + 2 * a})) << typeName;
    }
}

TEST_F(SplitterFixture, findsChildrenWithoutRegardToCaseAndPlacesChild1WithoutChild2)
{
    auto &duplicate = add("LEFT");
    splitter.setChild1("Left");
    EXPECT_EQ(first().last()[2], 1463);
    EXPECT_TRUE(duplicate.moves.empty()) << "the first match wins";

    const int before = resizes;
    splitter.setChild2("nowhere");
    resizeTo(4000, 1000);
    EXPECT_EQ(first().last(), (Rect{0, 0, 1963, 1000}));
    EXPECT_EQ(resizes - before, 2);
}

// The main window reacts to Resize by changing layouts; a handler that asks
// this splitter to place its bar again must not start a second pass.
TEST(SplitterSinglePass, eachRequestPlacesOnceAndLaysOutOnce)
{
    const Change requests[] = {[](Splitter &s) { s.setSplitterPos(1000); },
                               [](Splitter &s) { s.setRatioFromTop(0.25f); }, [](Splitter &s) { s.setMaintain(0); },
                               [](Splitter &s) { s.setMinSize1(300); },
                               [](Splitter &s) {
                                   s.handleResize();
                               }};
    for (const auto &request : requests) {
        Rig rig;
        const int before = rig.resizes;
        const auto movesBefore = rig.first().moves.size();
        request(rig.splitter);
        EXPECT_EQ(rig.resizes - before, 1) << &request - requests;
        EXPECT_EQ(rig.first().moves.size() - movesBefore, 1u) << &request - requests;
    }
    Rig rig;
    rig.splitter.setResizeHandler([&] { ++rig.resizes, rig.splitter.setMinSize1(300); });
    rig.resizes = 0;
    rig.splitter.setSplitterPos(1000);
    EXPECT_EQ(rig.resizes, 1);
    EXPECT_EQ(rig.bar.rect[0], 1000);
}

TEST(SplitterLoading, raisesOneResizeAfterEveryPropertyIsReadWithoutRegardToCase)
{
    Rig rig(false);
    SplitterPropertyBag bag;
    const std::pair<const char *, SplitterPropertyValue> stored[] = {{"orientation", 1},
                                                                     {"splitterSIZE", 80},
                                                                     {"maintain", 0},
                                                                     {"splitterpos", 100},
                                                                     {"ratiofromtop", 0.512f},
                                                                     {"child1", std::string("LEFT")},
                                                                     {"child2", std::string("rIGHT")},
                                                                     {"minsize1", 0},
                                                                     {"minsize2", 0},
                                                                     {"liveupdate", false}};
    for (const auto &[name, value] : stored)
        bag.set(name, value);
    std::string child2WhenResized;
    rig.splitter.setResizeHandler([&] { ++rig.resizes, child2WhenResized = rig.splitter.child2(); });
    rig.splitter.readProperties(bag);
    EXPECT_EQ(rig.resizes, 1);
    EXPECT_EQ(child2WhenResized, "rIGHT");
    EXPECT_EQ(rig.splitter.splitterSize(), 80);
    EXPECT_FALSE(rig.splitter.liveUpdate());
    // The ratio, read after the position, decides: 2000 * 0.512 - 40.
    EXPECT_EQ(rig.splitter.splitterPos(), 984);
    EXPECT_EQ(rig.first().last(), (Rect{0, 0, 3000, 984}));

    EXPECT_EQ(Splitter::description("splitterpos"), "Returns/sets the desired position of the splitter bar.");
    EXPECT_EQ(Splitter::description("Resize"), "Occurs when the child controls are resized.");
    EXPECT_EQ(Splitter::description("Width"), "");
}

TEST(SplitterSaving, bagKeepsOnlyChangedValuesInLowerCaseAndLoadsThemBack)
{
    Rig original;
    original.splitter.setMaintain(0);
    original.splitter.setSplitterPos(700);
    SplitterPropertyBag bag;
    original.splitter.writeProperties(bag);
    EXPECT_EQ(bag.names(), (std::vector<std::string>{"child1", "child2", "maintain", "ratiofromtop", "splitterpos"}));

    Rig copy(false);
    copy.width = 6000;
    copy.splitter.readProperties(bag);
    EXPECT_EQ(copy.splitter.maintain(), 0);
    EXPECT_EQ(copy.splitter.child1(), "left");
    EXPECT_EQ(copy.splitter.splitterPos(), 1437) << "the stored ratio decides for the new extent";

    original.splitter.setSplitterPos(10);
    original.splitter.writeProperties(bag);
    EXPECT_EQ(bag.value("splitterpos"), SplitterPropertyValue(std::int32_t{10})) << "the wanted place, not MinSize1";
}

TEST(TwipsScale, convertsAtTheScreensDpi)
{
    const TwipsScale standard(96, 96), wide(144, 120);
    EXPECT_EQ(standard.toPixelsX(1463), 98);
    EXPECT_EQ(standard.toPixelsX(-120), -8);
    EXPECT_EQ(standard.toTwipsY(5), 75);
    EXPECT_EQ(wide.toPixelsX(3400), 340);
    EXPECT_EQ(wide.toPixelsY(3400), 283);
    EXPECT_EQ(wide.toTwipsY(10), 120);
    EXPECT_EQ(TwipsScale(0, -1).twipsPerPixelY(), 15) << "an unknown dpi counts as 96";
}

} // namespace
