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
    bool visible = true;
    std::optional<Pointer> pointer;
    std::optional<std::int32_t> backColor; // empty: the button face colour
    std::int32_t border = 0;
    std::int32_t appearance = 0;
    int raised = 0;
    Point screenCursor{3, 4};

    double left() const override { return rect.left; }
    double top() const override { return rect.top; }
    void setRect(double l, double t, double w, double h) override { rect = {l, t, w, h}; }
    void setLeft(double l) override { rect.left = l; }
    void setTop(double t) override { rect.top = t; }
    void setVisible(bool v) override { visible = v; }
    void setPointer(Pointer p) override { pointer = p; }
    void setBackColor(std::int32_t c) override { backColor = c; }
    void setButtonFaceBackColor() override { backColor.reset(); }
    void setBorder(std::int32_t b) override { border = b; }
    void setAppearance(std::int32_t a) override { appearance = a; }
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
    std::int32_t frameBorder = -1;

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
    void setFrameBorder(std::int32_t style) override { frameBorder = style; }
};

class RecordingStore : public SplitterPropertyStore
{
public:
    struct Write
    {
        std::string name;
        SplitterPropertyValue value;
        SplitterPropertyValue defaultValue;
    };
    std::vector<Write> writes;

    SplitterPropertyValue readProperty(std::string_view, const SplitterPropertyValue &d) const override { return d; }
    void writeProperty(std::string_view name, const SplitterPropertyValue &v, const SplitterPropertyValue &d) override
    {
        writes.push_back({std::string(name), v, d});
    }
    const Write &find(std::string_view name) const
    {
        return *std::ranges::find_if(writes, [&](const Write &w) { return w.name == name; });
    }
};

// A fresh instance with Child1 "left" and Child2 "right" in a 3000 x 2000 twip
// control.
class SplitterFixture : public ::testing::Test
{
protected:
    void SetUp() override
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

TEST_F(SplitterFixture, defaultsSplitAThreeThousandTwipControlAtTheMiddle)
{
    EXPECT_EQ(host.bar.rect, (Rect{1463, 0, 75, 2000}));
    EXPECT_EQ(first().last(), (Rect{0, 0, 1463, 2000}));
    EXPECT_EQ(second().last(), (Rect{1538, 0, 1462, 2000}));
    EXPECT_EQ(splitter.splitterPos(), 1463);
    EXPECT_FLOAT_EQ(splitter.currRatioFromTop(), 0.5f);
    EXPECT_EQ(host.bar.pointer, SplitterBar::Pointer::SizeWestEast);
    EXPECT_EQ(splitter.splitterColor(), 0x404040);
    EXPECT_EQ(splitter.minSizeAux(), 255);
    EXPECT_TRUE(splitter.allowResize() && splitter.liveUpdate() && splitter.isReady());
}

struct Normalisation
{
    const char *what;
    std::function<void(Splitter &)> apply;
    std::function<double(const Splitter &)> read;
    double expected;
};

class SplitterNormalisation : public SplitterFixture, public ::testing::WithParamInterface<Normalisation>
{
};

TEST_P(SplitterNormalisation, storesTheNormalisedValue)
{
    GetParam().apply(splitter);
    EXPECT_EQ(GetParam().read(splitter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Setters, SplitterNormalisation,
    ::testing::Values(Normalisation{"ratio above one", [](Splitter &s) { s.setRatioFromTop(1.7f); },
                                    [](const Splitter &s) { return s.ratioFromTop(); }, 1},
                      Normalisation{"negative ratio", [](Splitter &s) { s.setRatioFromTop(-0.2f); },
                                    [](const Splitter &s) { return s.ratioFromTop(); }, 0},
                      Normalisation{"negative position", [](Splitter &s) { s.setSplitterPos(-100); },
                                    [](const Splitter &s) { return s.splitterPos(); }, 0},
                      Normalisation{"negative position puts the bar at MinSize1",
                                    [](Splitter &s) { s.setSplitterPos(-100); },
                                    [](const Splitter &s) { return s.currSplitterPos(); }, 255},
                      Normalisation{"negative bar size", [](Splitter &s) { s.setSplitterSize(-5); },
                                    [](const Splitter &s) { return s.splitterSize(); }, 0},
                      Normalisation{"MaxSize on Child1 below MinSize1", [](Splitter &s) { s.setMaxSize(100); },
                                    [](const Splitter &s) { return s.maxSize(); }, 255},
                      Normalisation{"MaxSize on Child2 below MinSize2",
                                    [](Splitter &s) {
                                        s.setMinSize2(300);
                                        s.setMaxSizeAppliesTo(1);
                                        s.setMaxSize(100);
                                    },
                                    [](const Splitter &s) { return s.maxSize(); }, 300},
                      Normalisation{"MinSize1 above MaxSize on Child1",
                                    [](Splitter &s) {
                                        s.setMaxSize(280);
                                        s.setMinSize1(400);
                                    },
                                    [](const Splitter &s) { return s.minSize1(); }, 280},
                      Normalisation{"negative MinSizeAux", [](Splitter &s) { s.setMinSizeAux(-1); },
                                    [](const Splitter &s) { return s.minSizeAux(); }, 0},
                      Normalisation{"largest MinSizeAux", [](Splitter &s) { s.setMinSizeAux(32767); },
                                    [](const Splitter &s) { return s.minSizeAux(); }, 32767}),
    [](const auto &info) { return "case" + std::to_string(info.index); });

struct Overflow
{
    const char *what;
    std::function<void(Splitter &)> apply;
};

class SplitterOverflow : public SplitterFixture, public ::testing::WithParamInterface<Overflow>
{
};

TEST_P(SplitterOverflow, raisesAndKeepsTheOldValues)
{
    splitter.setSplitterPos(1000);
    ASSERT_THROW(GetParam().apply(splitter), SplitterOverflowError) << GetParam().what;
    EXPECT_EQ(splitter.splitterPos(), 1000);
    EXPECT_FLOAT_EQ(splitter.ratioFromTop(), 1037.0f / 3000);
    EXPECT_EQ(splitter.minSize1(), 255);
    EXPECT_EQ(splitter.minSize2(), 255);
    EXPECT_EQ(splitter.minSizeAux(), 255);
    EXPECT_EQ(splitter.splitterSize(), 75);
}

INSTANTIATE_TEST_SUITE_P(Int16, SplitterOverflow,
                         ::testing::Values(Overflow{"MinSize1 above 32767",
                                                    [](Splitter &s) {
                                                        s.setMinSize1(40000);
                                                    }},
                                           Overflow{"MinSize2 just above 32767",
                                                    [](Splitter &s) {
                                                        s.setMinSize2(32768);
                                                    }},
                                           Overflow{"MinSizeAux just above 32767",
                                                    [](Splitter &s) {
                                                        s.setMinSizeAux(32768);
                                                    }},
                                           Overflow{"position outside 16 bits",
                                                    [](Splitter &s) {
                                                        s.setSplitterPos(40000);
                                                    }},
                                           Overflow{"position plus half the bar",
                                                    [](Splitter &s) {
                                                        s.setSplitterPos(32767);
                                                    }},
                                           Overflow{"minimum total", [](Splitter &s) {
                                                        s.setSplitterSize(32767);
                                                    }}));

TEST_F(SplitterFixture, extentBeyondSixteenBitsEndsTheResizeWithAnOverflow)
{
    host.width = 40000;
    EXPECT_THROW(splitter.handleResize(), SplitterOverflowError);
}

struct RoundingCase
{
    double width;
    double barLeft;
};

class SplitterRounding : public SplitterFixture, public ::testing::WithParamInterface<RoundingCase>
{
};

// PosFromRatio lands on a half for odd widths: 1499.5 - 37 and 1500.5 - 37.
TEST_P(SplitterRounding, roundsHalvesToEven)
{
    resizeTo(GetParam().width, 2000);
    EXPECT_EQ(host.bar.rect.left, GetParam().barLeft);
}

INSTANTIATE_TEST_SUITE_P(Ratio, SplitterRounding,
                         ::testing::Values(RoundingCase{2999, 1462}, RoundingCase{3000, 1463}, RoundingCase{3001, 1464},
                                           RoundingCase{3003, 1464}));

struct MaxSizeDrag
{
    std::int32_t appliesTo;
    double target;
    double barLeft;
};

class SplitterMaxSize : public SplitterFixture, public ::testing::WithParamInterface<MaxSizeDrag>
{
};

TEST_P(SplitterMaxSize, limitsTheDrag)
{
    resizeTo(5000, 2000);
    splitter.setMaxSizeAppliesTo(GetParam().appliesTo);
    splitter.setMaxSize(2000);
    dragTo(GetParam().target);
    EXPECT_EQ(host.bar.rect.left, GetParam().barLeft);
}

// Applying to Child2, the bar cannot go left of 5000 - 2000 - 75.
INSTANTIATE_TEST_SUITE_P(Child1AndChild2, SplitterMaxSize,
                         ::testing::Values(MaxSizeDrag{0, 3000, 2000}, MaxSizeDrag{0, 1500, 1500},
                                           MaxSizeDrag{1, 1000, 2925}, MaxSizeDrag{1, 4000, 4000}));

struct SmallControl
{
    double width;
    double barLeft;
    double secondWidth;
};

class SplitterSmallControl : public SplitterFixture, public ::testing::WithParamInterface<SmallControl>
{
};

TEST_P(SplitterSmallControl, holdsTheBarAtMinSize1AndChild2AtMinSize2)
{
    resizeTo(GetParam().width, 2000);
    EXPECT_EQ(host.bar.rect.left, GetParam().barLeft);
    EXPECT_EQ(second().last().left, GetParam().barLeft + 75);
    EXPECT_EQ(second().last().width, GetParam().secondWidth);
}

// 585 is MinSize1 + SplitterSize + MinSize2; width 0 must not divide by zero.
INSTANTIATE_TEST_SUITE_P(MinimumTotal, SplitterSmallControl,
                         ::testing::Values(SmallControl{0, 255, 255}, SmallControl{400, 255, 255},
                                           SmallControl{585, 255, 255}, SmallControl{586, 256, 255},
                                           SmallControl{700, 313, 312}));

TEST_F(SplitterFixture, zeroWidthGivesRatioZero)
{
    resizeTo(0, 2000);
    EXPECT_EQ(splitter.currRatioFromTop(), 0);
}

class SplitterCrossExtent : public SplitterFixture, public ::testing::WithParamInterface<std::int32_t>
{
};

TEST_P(SplitterCrossExtent, neverGoesBelowMinSizeAux)
{
    splitter.setOrientation(GetParam());
    resizeTo(100, 100);
    const bool across = GetParam() == 0;
    const auto crossOf = [&](const Rect &r) {
        return across ? r.height : r.width;
    };
    EXPECT_EQ(crossOf(host.bar.rect), 255);
    EXPECT_EQ(crossOf(first().last()), 255);
    EXPECT_EQ(crossOf(second().last()), 255);
}

INSTANTIATE_TEST_SUITE_P(Orientations, SplitterCrossExtent, ::testing::Values(0, 1));

struct Growing
{
    std::int32_t maintain;
    std::function<void(Splitter &)> place;
    double barLeftAfter;
};

class SplitterMaintain : public SplitterFixture, public ::testing::WithParamInterface<Growing>
{
};

TEST_P(SplitterMaintain, keepsPositionOrRatioWhenGrowing)
{
    splitter.setMaintain(GetParam().maintain);
    GetParam().place(splitter);
    resizeTo(6000, 2000);
    EXPECT_EQ(host.bar.rect.left, GetParam().barLeftAfter);
}

INSTANTIATE_TEST_SUITE_P(Maintain, SplitterMaintain,
                         ::testing::Values(Growing{0, [](Splitter &s) { s.setSplitterPos(1000); }, 1000},
                                           Growing{1, [](Splitter &s) { s.setSplitterPos(1000); }, 2037},
                                           Growing{1, [](Splitter &s) { s.setRatioFromTop(0.25f); }, 1463},
                                           Growing{2, [](Splitter &s) { s.setSplitterPos(1000); }, 255}));

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
    EXPECT_EQ(splitter.splitterPos(), 1463);
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

class SplitterListView : public SplitterFixture, public ::testing::WithParamInterface<std::pair<const char *, bool>>
{
};

TEST_P(SplitterListView, listViewsReachOnePixelPastTheirPane)
{
    const auto [typeName, adjusted] = GetParam();
    first().typeName = typeName;
    second().typeName = typeName;
    splitter.handleResize();
    const double a = adjusted ? 15 : 0;
    EXPECT_EQ(first().last(), (Rect{-a, -a, 1463 + 2 * a, 2000 + 2 * a}));
    EXPECT_EQ(second().last(), (Rect{1538 - a, -a, 1462 + 2 * a, 2000 + 2 * a}));
}

INSTANTIATE_TEST_SUITE_P(TypeNames, SplitterListView,
                         ::testing::Values(std::pair{"ListView", true}, std::pair{"LISTVIEW", true},
                                           std::pair{"listview", true}, std::pair{"TreeView", false},
                                           std::pair{"ListView2", false}));

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

struct SingleRequest
{
    const char *what;
    std::function<void(Splitter &)> request;
};

class SplitterSinglePass : public SplitterFixture, public ::testing::WithParamInterface<SingleRequest>
{
};

TEST_P(SplitterSinglePass, placesOnceAndLaysOutOnce)
{
    const int before = resizes;
    const auto movesBefore = first().moves.size();
    GetParam().request(splitter);
    EXPECT_EQ(resizes - before, 1) << GetParam().what;
    EXPECT_EQ(first().moves.size() - movesBefore, 1u) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(Reentrance, SplitterSinglePass,
                         ::testing::Values(SingleRequest{"SplitterPos",
                                                         [](Splitter &s) {
                                                             s.setSplitterPos(1000);
                                                         }},
                                           SingleRequest{"RatioFromTop",
                                                         [](Splitter &s) {
                                                             s.setRatioFromTop(0.25f);
                                                         }},
                                           SingleRequest{"Maintain",
                                                         [](Splitter &s) {
                                                             s.setMaintain(0);
                                                         }},
                                           SingleRequest{"MinSize1",
                                                         [](Splitter &s) {
                                                             s.setMinSize1(300);
                                                         }},
                                           SingleRequest{"resize", [](Splitter &s) {
                                                             s.handleResize();
                                                         }}));

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
    bag.set("minsizeaux", 0);
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
    EXPECT_EQ(splitter.orientation(), 1);
    EXPECT_EQ(splitter.splitterSize(), 80);
    EXPECT_FALSE(splitter.liveUpdate());
    EXPECT_EQ(splitter.minSizeAux(), 0);
    // The ratio, read after the position, decides: 2000 * 0.512 - 40.
    EXPECT_EQ(splitter.splitterPos(), 984);
    EXPECT_EQ(tree.last(), (Rect{0, 0, 3000, 984}));
}

TEST(SplitterSaving, writesTheWantedPlaceInLoadOrderWithTheDefaults)
{
    FakeHost host;
    Splitter splitter(host);
    splitter.initializeNewInstance();
    splitter.setSplitterPos(10);
    ASSERT_EQ(splitter.currSplitterPos(), 255);
    RecordingStore store;
    splitter.writeProperties(store);
    std::vector<std::string> names;
    for (const auto &write : store.writes)
        names.push_back(write.name);
    EXPECT_EQ(names, (std::vector<std::string>{"BorderStyle", "SplitterAppearance", "SplitterBorder", "SplitterColor",
                                               "Orientation", "SplitterSize", "Maintain", "SplitterPos", "RatioFromTop",
                                               "Child1", "Child2", "MaxSize", "MaxSizeAppliesTo", "MinSize1",
                                               "MinSize2", "MinSizeAux", "AllowResize", "LiveUpdate"}));
    EXPECT_EQ(store.find("SplitterPos").value, SplitterPropertyValue(std::int32_t{10}));
    EXPECT_EQ(store.find("SplitterPos").defaultValue, SplitterPropertyValue(std::int32_t{0}));
    EXPECT_EQ(store.find("RatioFromTop").value, SplitterPropertyValue(47.0f / 3000));
    EXPECT_EQ(store.find("SplitterColor").defaultValue, SplitterPropertyValue(std::int32_t{0x404040}));
    EXPECT_EQ(store.find("LiveUpdate").defaultValue, SplitterPropertyValue(true));
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
}

TEST(SplitterDescription, describesPropertiesAndTheEventWithoutRegardToCase)
{
    EXPECT_EQ(Splitter::description("splitterpos"), "Returns/sets the desired position of the splitter bar.");
    EXPECT_EQ(Splitter::description("Resize"), "Occurs when the child controls are resized.");
    EXPECT_EQ(Splitter::description("SplitterBorder").substr(0, 34), "The border style for the spiltter ");
    EXPECT_EQ(Splitter::description("Width"), "");
}

TEST(TwipsScale, convertsAtTheScreensDpi)
{
    const TwipsScale standard(96, 96);
    EXPECT_EQ(standard.twipsPerPixelX(), 15);
    EXPECT_EQ(standard.toPixelsX(1463), 98);
    EXPECT_EQ(standard.toPixelsY(1462), 97);
    EXPECT_EQ(standard.toPixelsX(-120), -8);
    EXPECT_EQ(standard.toTwipsY(5), 75);
    const TwipsScale large(144, 120);
    EXPECT_EQ(large.toPixelsX(3400), 340);
    EXPECT_EQ(large.toPixelsY(3400), 283);
    EXPECT_EQ(large.toTwipsY(10), 120);
    EXPECT_EQ(TwipsScale(0, -1).twipsPerPixelY(), 15);
}

} // namespace
