#include "layout/logic/Splitter.h"
#include "layout/logic/SplitterBar.h"
#include "layout/logic/SplitterChild.h"
#include "layout/logic/SplitterHost.h"
#include "layout/logic/SplitterOverflowError.h"
#include "layout/logic/SplitterPropertyBag.h"
#include "layout/logic/TwipsScale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>

namespace {

struct Rect
{
    double left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect &) const = default;
    friend std::ostream &operator<<(std::ostream &out, const Rect &r)
    {
        return out << '(' << r.left << ", " << r.top << ", " << r.width << ", " << r.height << ')';
    }
};

struct ControlRecord
{
    std::string name;
    std::string typeName;
    std::vector<Rect> moves;
    Rect last() const { return moves.empty() ? Rect{-1, -1, -1, -1} : moves.back(); }
};

class FakeChild : public SplitterChild
{
public:
    explicit FakeChild(ControlRecord &record)
        : m_record(record)
    {
    }
    std::string name() const override { return m_record.name; }
    std::string typeName() const override { return m_record.typeName; }
    void move(double l, double t, double w, double h) override { m_record.moves.push_back({l, t, w, h}); }

private:
    ControlRecord &m_record;
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
    Point screenCursor{3, 4};

    double left() const override { return rect.left; }
    double top() const override { return rect.top; }
    void setRect(double l, double t, double w, double h) override { rect = {l, t, w, h}; }
    void setLeft(double l) override { rect.left = l; }
    void setTop(double t) override { rect.top = t; }
    void setVisible(bool) override {}
    void setPointer(Pointer p) override { pointer = p; }
    void setBackColor(std::int32_t c) override { backColor = c; }
    void setButtonFaceBackColor() override { backColor.reset(); }
    void setBorder(std::int32_t b) override { border = b; }
    void setAppearance(std::int32_t) override {}
    void bringToFront() override { ++raised; }
    Point cursorPixels() const override { return {screenCursor.x - border, screenCursor.y - border}; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

class FakeHost : public SplitterHost
{
public:
    double width = 3000;
    double height = 2000;
    std::vector<std::unique_ptr<ControlRecord>> controls;
    FakeBar bar;

    ControlRecord &add(const std::string &name, const std::string &typeName = "PictureBox")
    {
        controls.push_back(std::make_unique<ControlRecord>(ControlRecord{name, typeName, {}}));
        return *controls.back();
    }
    double clientWidth() const override { return width; }
    double clientHeight() const override { return height; }
    std::vector<std::unique_ptr<SplitterChild>> containedControls() const override
    {
        std::vector<std::unique_ptr<SplitterChild>> result;
        for (const auto &control : controls)
            result.push_back(std::make_unique<FakeChild>(*control));
        return result;
    }
    SplitterBar &splitterBar() override { return bar; }
    void setFrameBorder(std::int32_t) override {}
};

// A fresh instance with Child1 "left" and Child2 "right" in a 3000 x 2000 twip
// control.
struct Rig
{
    Rig()
    {
        host.add("left");
        host.add("right");
        splitter.setResizeHandler([this] { ++resizes; });
        splitter.initializeNewInstance();
        splitter.setChild1("left");
        splitter.setChild2("right");
    }

    ControlRecord &first() { return *host.controls[0]; }
    ControlRecord &second() { return *host.controls[1]; }
    void resizeTo(double width, double height)
    {
        host.width = width;
        host.height = height;
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
        const double barPos = splitter.orientation() == 0 ? host.bar.rect.left : host.bar.rect.top;
        // A drag-look border moves the bar's client origin under the mouse.
        const double inside = target + 30 - barPos - 15 * host.bar.border;
        splitter.mouseMove(Splitter::LeftButton, inside, inside);
    }

    FakeHost host;
    Splitter splitter{host};
    int resizes = 0;
};

class SplitterFixture : public ::testing::Test, public Rig
{
};

TEST_F(SplitterFixture, defaultsSplitAThreeThousandTwipControlAtTheMiddle)
{
    EXPECT_EQ(host.bar.rect, (Rect{1463, 0, 75, 2000}));
    EXPECT_EQ(first().last(), (Rect{0, 0, 1463, 2000}));
    EXPECT_EQ(second().last(), (Rect{1538, 0, 1462, 2000}));
    EXPECT_EQ(splitter.splitterPos(), 1463);
    EXPECT_FLOAT_EQ(splitter.currRatioFromTop(), 0.5f);
    EXPECT_EQ(host.bar.pointer, SplitterBar::Pointer::SizeWestEast);
}

// What a fresh instance stores after `set`, read back through `get`.
template<typename Get>
double normalised(const std::function<void(Splitter &)> &set, Get get)
{
    Rig rig;
    set(rig.splitter);
    return double(std::invoke(get, rig.splitter));
}

TEST(SplitterSetters, storeTheNormalisedValue)
{
    EXPECT_EQ(normalised([](Splitter &s) { s.setRatioFromTop(1.7f); }, &Splitter::ratioFromTop), 1);
    EXPECT_EQ(normalised([](Splitter &s) { s.setRatioFromTop(-0.2f); }, &Splitter::ratioFromTop), 0);
    EXPECT_EQ(normalised([](Splitter &s) { s.setSplitterPos(-100); }, &Splitter::splitterPos), 0);
    EXPECT_EQ(normalised([](Splitter &s) { s.setSplitterPos(-100); }, &Splitter::currSplitterPos), 255);
    EXPECT_EQ(normalised([](Splitter &s) { s.setSplitterSize(-5); }, &Splitter::splitterSize), 0);
    EXPECT_EQ(normalised([](Splitter &s) { s.setMinSizeAux(-1); }, &Splitter::minSizeAux), 0);
    EXPECT_EQ(normalised([](Splitter &s) { s.setMinSizeAux(32767); }, &Splitter::minSizeAux), 32767);
    // MaxSize is never below the minimum of the child it applies to, nor MinSize1 above MaxSize.
    EXPECT_EQ(normalised([](Splitter &s) { s.setMaxSize(100); }, &Splitter::maxSize), 255);
    const auto child2 = [](Splitter &s) {
        s.setMinSize2(300);
        s.setMaxSizeAppliesTo(1);
        s.setMaxSize(100);
    };
    EXPECT_EQ(normalised(child2, &Splitter::maxSize), 300);
    const auto minAboveMax = [](Splitter &s) {
        s.setMaxSize(280);
        s.setMinSize1(400);
    };
    EXPECT_EQ(normalised(minAboveMax, &Splitter::minSize1), 280);
}

TEST(SplitterOverflow, raisesAndKeepsTheOldValues)
{
    const std::function<void(Splitter &)> overflows[] = {
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
        EXPECT_EQ(rig.splitter.splitterPos(), 1000);
        EXPECT_FLOAT_EQ(rig.splitter.ratioFromTop(), 1037.0f / 3000);
        EXPECT_EQ(rig.splitter.minSize1(), 255);
        EXPECT_EQ(rig.splitter.minSize2(), 255);
        EXPECT_EQ(rig.splitter.minSizeAux(), 255);
        EXPECT_EQ(rig.splitter.splitterSize(), 75);
    }
    Rig rig;
    rig.host.width = 40000;
    EXPECT_THROW(rig.splitter.handleResize(), SplitterOverflowError) << "an extent beyond 16 bits";
}

// PosFromRatio lands on a half for odd widths: 1499.5 - 37 and 1500.5 - 37.
TEST_F(SplitterFixture, roundsHalvesToEven)
{
    const std::pair<int, int> cases[] = {{2999, 1462}, {3001, 1464}, {3003, 1464}};
    for (const auto &[width, barLeft] : cases) {
        resizeTo(width, 2000);
        EXPECT_EQ(host.bar.rect.left, barLeft) << width;
    }
}

// Applying to Child2, the bar cannot go left of 5000 - 2000 - 75.
TEST(SplitterMaxSize, limitsTheDragOnEitherChild)
{
    struct Case
    {
        std::int32_t appliesTo;
        double target, barLeft;
    };
    for (const Case c : {Case{0, 3000, 2000}, Case{0, 1500, 1500}, Case{1, 1000, 2925}, Case{1, 4000, 4000}}) {
        Rig rig;
        rig.resizeTo(5000, 2000);
        rig.splitter.setMaxSizeAppliesTo(c.appliesTo);
        rig.splitter.setMaxSize(2000);
        rig.dragTo(c.target);
        EXPECT_EQ(rig.host.bar.rect.left, c.barLeft) << c.appliesTo << " " << c.target;
    }
}

// 585 is MinSize1 + SplitterSize + MinSize2; width 0 must not divide by zero.
TEST_F(SplitterFixture, smallControlHoldsTheBarAtMinSize1AndChild2AtMinSize2)
{
    struct Case
    {
        double width, barLeft, secondWidth;
    };
    for (const Case c : {Case{0, 255, 255}, Case{585, 255, 255}, Case{586, 256, 255}, Case{700, 313, 312}}) {
        resizeTo(c.width, 2000);
        EXPECT_EQ(host.bar.rect.left, c.barLeft) << c.width;
        EXPECT_EQ(second().last().left, c.barLeft + 75) << c.width;
        EXPECT_EQ(second().last().width, c.secondWidth) << c.width;
        if (c.width == 0) {
            EXPECT_EQ(splitter.currRatioFromTop(), 0);
        }
    }
}

TEST(SplitterCrossExtent, neverGoesBelowMinSizeAux)
{
    for (const std::int32_t orientation : {0, 1}) {
        Rig rig;
        rig.splitter.setOrientation(orientation);
        rig.resizeTo(100, 100);
        const auto cross = [&](const Rect &r) {
            return orientation == 0 ? r.height : r.width;
        };
        EXPECT_EQ(cross(rig.host.bar.rect), 255) << orientation;
        EXPECT_EQ(cross(rig.first().last()), 255) << orientation;
        EXPECT_EQ(cross(rig.second().last()), 255) << orientation;
    }
}

TEST(SplitterMaintain, keepsPositionOrRatioWhenGrowing)
{
    struct Case
    {
        std::int32_t maintain;
        double barLeftAfter;
    };
    for (const Case c : {Case{0, 1000}, Case{1, 2037}, Case{2, 255}}) {
        Rig rig;
        rig.splitter.setMaintain(c.maintain);
        rig.splitter.setSplitterPos(1000);
        rig.resizeTo(6000, 2000);
        EXPECT_EQ(rig.host.bar.rect.left, c.barLeftAfter) << c.maintain;
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
    EXPECT_EQ(host.bar.rect.left, 2100);
    EXPECT_EQ(second().moves.size() - movesBefore, live ? 2u : 0u);
    EXPECT_EQ(host.bar.backColor, live ? std::nullopt : std::optional<std::int32_t>(0x404040));
    EXPECT_EQ(host.bar.border, live ? 0 : 1);
    splitter.mouseUp(Splitter::LeftButton, 30, 30);
    EXPECT_EQ(first().last(), (Rect{0, 0, 2100, 2000}));
    EXPECT_EQ(second().last(), (Rect{2175, 0, 825, 2000}));
    EXPECT_EQ(splitter.splitterPos(), 2100);
    EXPECT_FLOAT_EQ(splitter.ratioFromTop(), 2137.0f / 3000);
    EXPECT_FALSE(host.bar.backColor.has_value());
    EXPECT_EQ(host.bar.border, 0);
    EXPECT_FALSE(splitter.isDragging());
}

TEST_P(SplitterDrag, escapeReturnsTheBarToTheDragStart)
{
    splitter.setLiveUpdate(GetParam());
    dragTo(2000, false);
    splitter.keyPress(Splitter::kEscapeKey);
    EXPECT_FALSE(splitter.isDragging());
    EXPECT_EQ(host.bar.rect.left, 1463);
    EXPECT_EQ(first().last().width, 1463);
    moveTo(2500);
    EXPECT_EQ(host.bar.rect.left, 1463) << "the drag is over";
    splitter.mouseUp(Splitter::LeftButton, 0, 0);
    EXPECT_EQ(splitter.splitterPos(), 1463);
}

TEST_P(SplitterDrag, otherButtonsStartNoDrag)
{
    splitter.setLiveUpdate(GetParam());
    splitter.mouseDown(Splitter::RightButton, 30, 30);
    moveTo(2000);
    splitter.mouseMove(Splitter::LeftButton | Splitter::RightButton, 600, 600);
    EXPECT_FALSE(splitter.isDragging());
    EXPECT_EQ(host.bar.rect.left, 1463);
    EXPECT_EQ(host.bar.raised, 0);
}

INSTANTIATE_TEST_SUITE_P(LiveAndGhost, SplitterDrag, ::testing::Bool(),
                         [](const auto &info) { return info.param ? "live" : "ghost"; });

TEST_F(SplitterFixture, liveDragLaysOutOnlyWhenTheClampedPositionChanges)
{
    splitter.mouseDown(Splitter::LeftButton, 30, 30);
    const int before = resizes;
    moveTo(100);
    moveTo(200);
    EXPECT_EQ(host.bar.rect.left, 255);
    EXPECT_EQ(resizes - before, 1);
}

// The drag look's border shifts the bar's client origin by a pixel; without
// the correction the bar jumps 15 twips on the first move.
TEST_F(SplitterFixture, ghostDragCompensatesForTheDragBorder)
{
    splitter.setLiveUpdate(false);
    splitter.mouseDown(Splitter::LeftButton, 45, 45);
    splitter.mouseMove(Splitter::LeftButton, 30, 30);
    EXPECT_EQ(host.bar.rect.left, 1463);
    splitter.mouseMove(Splitter::LeftButton, 130, 130);
    EXPECT_EQ(host.bar.rect.left, 1563);
}

TEST(SplitterListView, listViewsOfAnyCaseReachOnePixelPastTheirPane)
{
    const std::pair<const char *, bool> cases[] = {{"LISTVIEW", true}, {"ListView2", false}, {"TreeView", false}};
    for (const auto &[typeName, adjusted] : cases) {
        Rig rig;
        rig.first().typeName = rig.second().typeName = typeName;
        rig.splitter.handleResize();
        const double a = adjusted ? 15 : 0;
        EXPECT_EQ(rig.first().last(), (Rect{-a, -a, 1463 + 2 * a, 2000 + 2 * a})) << typeName;
        EXPECT_EQ(rig.second().last(), (Rect{1538 - a, -a, 1462 + 2 * a, 2000 + 2 * a})) << typeName;
    }
}

TEST_F(SplitterFixture, findsChildrenWithoutRegardToCaseFirstMatchWins)
{
    auto &duplicate = host.add("LEFT");
    splitter.setChild1("Left");
    EXPECT_EQ(first().last().width, 1463);
    EXPECT_TRUE(duplicate.moves.empty());
}

TEST_F(SplitterFixture, missingChild2StillPlacesChild1AndRaisesResize)
{
    const int before = resizes;
    splitter.setChild2("nowhere");
    resizeTo(4000, 1000);
    EXPECT_EQ(first().last(), (Rect{0, 0, 1963, 1000}));
    EXPECT_EQ(resizes - before, 2);
}

TEST_F(SplitterFixture, orientationOneSplitsTopAndBottom)
{
    splitter.setOrientation(1);
    EXPECT_EQ(host.bar.pointer, SplitterBar::Pointer::SizeNorthSouth);
    EXPECT_EQ(host.bar.rect, (Rect{0, 963, 3000, 75}));
    EXPECT_EQ(first().last(), (Rect{0, 0, 3000, 963}));
    EXPECT_EQ(second().last(), (Rect{0, 1038, 3000, 962}));
}

TEST(SplitterSinglePass, eachRequestPlacesOnceAndLaysOutOnce)
{
    const std::function<void(Splitter &)> requests[] = {
        [](Splitter &s) { s.setSplitterPos(1000); }, [](Splitter &s) { s.setRatioFromTop(0.25f); },
        [](Splitter &s) { s.setMaintain(0); }, [](Splitter &s) { s.setMinSize1(300); },
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
}

// The main window reacts to Resize by changing layouts; a handler that asks
// this splitter to place its bar again must not start a second pass.
TEST_F(SplitterFixture, resizeHandlerThatPlacesTheBarAgainAddsNoPass)
{
    splitter.setResizeHandler([this] {
        ++resizes;
        splitter.setMinSize1(300);
    });
    const int before = resizes;
    splitter.setSplitterPos(1000);
    EXPECT_EQ(resizes - before, 1);
    EXPECT_EQ(host.bar.rect.left, 1000);
}

TEST(SplitterLoading, raisesOneResizeAfterEveryPropertyIsRead)
{
    FakeHost host;
    auto &tree = host.add("tvwTopics");
    host.add("tvwWM");
    SplitterPropertyBag bag;
    bag.set("orientation", 1);
    bag.set("splitterSIZE", 80);
    bag.set("maintain", 0);
    bag.set("splitterpos", 100);
    bag.set("ratiofromtop", 0.512f);
    bag.set("child1", std::string("TVWTOPICS"));
    bag.set("child2", std::string("tvwwm"));
    bag.set("minsize1", 0);
    bag.set("minsize2", 0);
    bag.set("liveupdate", false);
    Splitter splitter(host);
    int resizes = 0;
    std::string child2WhenResized;
    splitter.setResizeHandler([&] {
        ++resizes;
        child2WhenResized = splitter.child2();
    });
    splitter.readProperties(bag);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(child2WhenResized, "tvwwm");
    EXPECT_EQ(splitter.splitterSize(), 80);
    EXPECT_FALSE(splitter.liveUpdate());
    // The ratio, read after the position, decides: 2000 * 0.512 - 40.
    EXPECT_EQ(splitter.splitterPos(), 984);
    EXPECT_EQ(tree.last(), (Rect{0, 0, 3000, 984}));
}

TEST(SplitterSaving, bagKeepsOnlyChangedValuesInLowerCaseAndLoadsThemBack)
{
    FakeHost host;
    host.add("a");
    Splitter original(host);
    original.initializeNewInstance();
    original.setChild1("a");
    original.setMaintain(0);
    original.setSplitterPos(700);
    SplitterPropertyBag bag;
    original.writeProperties(bag);
    EXPECT_EQ(bag.names(), (std::vector<std::string>{"child1", "maintain", "ratiofromtop", "splitterpos"}));

    FakeHost otherHost;
    otherHost.width = 6000;
    Splitter copy(otherHost);
    copy.readProperties(bag);
    EXPECT_EQ(copy.maintain(), 0);
    EXPECT_EQ(copy.child1(), "a");
    EXPECT_EQ(copy.splitterPos(), 1437) << "the stored ratio decides for the new extent";

    original.setSplitterPos(10);
    original.writeProperties(bag);
    EXPECT_EQ(bag.value("splitterpos"), SplitterPropertyValue(std::int32_t{10})) << "the wanted place, not MinSize1";
}

TEST(SplitterDescription, describesPropertiesAndTheEventWithoutRegardToCase)
{
    EXPECT_EQ(Splitter::description("splitterpos"), "Returns/sets the desired position of the splitter bar.");
    EXPECT_EQ(Splitter::description("Resize"), "Occurs when the child controls are resized.");
    EXPECT_EQ(Splitter::description("Width"), "");
}

TEST(TwipsScale, convertsAtTheScreensDpi)
{
    EXPECT_EQ(TwipsScale(96, 96).toPixelsX(1463), 98);
    EXPECT_EQ(TwipsScale(96, 96).toPixelsX(-120), -8);
    EXPECT_EQ(TwipsScale(96, 96).toTwipsY(5), 75);
    EXPECT_EQ(TwipsScale(144, 120).toPixelsX(3400), 340);
    EXPECT_EQ(TwipsScale(144, 120).toPixelsY(3400), 283);
    EXPECT_EQ(TwipsScale(144, 120).toTwipsY(10), 120);
    EXPECT_EQ(TwipsScale(0, -1).twipsPerPixelY(), 15) << "an unknown dpi counts as 96";
}

} // namespace
