#include "layout/logic/Splitter.h"

#include "layout/logic/CaseInsensitive.h"
#include "layout/logic/Int16Math.h"
#include "layout/logic/SplitterBar.h"
#include "layout/logic/SplitterChild.h"
#include "layout/logic/SplitterHost.h"
#include "layout/logic/SplitterOverflowError.h"
#include "layout/logic/SplitterPropertyStore.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::int32_t kDefaultBorderStyle = 0;
constexpr std::int32_t kDefaultSplitterAppearance = 1;
constexpr std::int32_t kDefaultSplitterBorder = 1;
constexpr std::int32_t kDefaultSplitterColor = 0x404040;
constexpr std::int32_t kDefaultOrientation = 0;
constexpr std::int32_t kDefaultSplitterSize = 75;
constexpr std::int32_t kDefaultMaintain = 1;
constexpr std::int32_t kStoredDefaultSplitterPos = 0;
constexpr float kDefaultRatioFromTop = 0.5f;
constexpr std::int32_t kDefaultMaxSize = 0;
constexpr std::int32_t kDefaultMaxSizeAppliesTo = 0;
constexpr std::int32_t kDefaultMinSize = 255;
constexpr bool kDefaultAllowResize = true;
constexpr bool kDefaultLiveUpdate = true;

constexpr std::array<std::pair<std::string_view, std::string_view>, 21> kDescriptions{{
    {"BorderStyle", "Returns/sets the border style for the control."},
    {"SplitterAppearance",
     "The appearance of the splitter bar, only used while the splitter bar is moving and LiveUpdate is false."},
    {"SplitterBorder",
     "The border style for the spiltter bar, only used while the splitter bar is moving and LiveUpdate is false."},
    {"SplitterColor",
     "The color of the splitter bar, only used while the splitter bar is moving and LiveUpdate is false."},
    {"Orientation", "The flow of the child controls."},
    {"SplitterSize", "Returns/sets the size of the splitter bar."},
    {"Maintain", "Determines how the splitter bar changes when the control is resized."},
    {"SplitterPos", "Returns/sets the desired position of the splitter bar."},
    {"CurrSplitterPos", "Returns the current position of the splitter bar."},
    {"RatioFromTop", "Returns/sets the desired percentage from the top/left to place the splitter bar."},
    {"CurrRatioFromTop", "Returns the current percentage from the top/left of the splitter bar."},
    {"Child1", "Returns/sets the name of the control to appear at the left/top."},
    {"Child2", "Returns/sets the name of the control to appear at the right/bottom."},
    {"MaxSize", "Returns/sets the maximum size of a child; 0 is unlimited."},
    {"MaxSizeAppliesTo", "Determines which child the MaxSize property applies to."},
    {"MinSize1", "Returns/sets the minimum size allowed for Child1."},
    {"MinSize2", "Returns/sets the minimum size allowed for Child2."},
    {"MinSizeAux", "Returns/sets the minimum size allowed for the control for the opposite orientation."},
    {"AllowResize", "True if the user can move the splitter bar."},
    {"LiveUpdate", "True if the child controls should be resized as the splitter bar is moved."},
    {"Resize", "Occurs when the child controls are resized."},
}};

// Sets a flag back when the scope ends, also when an overflow unwinds it.
class AssignOnExit
{
public:
    AssignOnExit(bool &flag, bool value)
        : m_flag(flag)
        , m_value(value)
    {
    }
    ~AssignOnExit() { m_flag = m_value; }
    AssignOnExit(const AssignOnExit &) = delete;
    AssignOnExit &operator=(const AssignOnExit &) = delete;

private:
    bool &m_flag;
    bool m_value;
};

std::int16_t nonNegative(std::int16_t value)
{
    return std::max<std::int16_t>(value, 0);
}

// Int32 properties held as Int16: negatives are taken as 0 before the range
// check, so only values above 32767 overflow.
std::int16_t nonNegativeInt16(std::int32_t value)
{
    return value < 0 ? std::int16_t{0} : Int16Math::narrow(value);
}

bool isListView(const SplitterChild &child)
{
    return CaseInsensitive::equals(child.typeName(), "ListView");
}

} // namespace

Splitter::Splitter(SplitterHost &host)
    : m_host(host)
{
}

std::string_view Splitter::description(std::string_view memberName)
{
    for (const auto &[name, text] : kDescriptions) {
        if (CaseInsensitive::equals(name, memberName))
            return text;
    }
    return {};
}

template<typename Change>
void Splitter::transact(Change &&change)
{
    const State saved = m_state;
    try {
        change();
    } catch (const SplitterOverflowError &) {
        m_state = saved;
        throw;
    }
}

void Splitter::propertyChanged(std::string_view name)
{
    if (m_propertyChangedHandler)
        m_propertyChangedHandler(name);
}

void Splitter::recomputeMinimumTotal()
{
    m_state.minimumTotal = Int16Math::add(Int16Math::add(m_state.minSize1, m_state.splitterSize), m_state.minSize2);
}

void Splitter::setBorderStyle(std::int32_t value)
{
    transact([&] {
        m_state.borderStyle = value;
        propertyChanged("BorderStyle");
        m_host.setFrameBorder(value);
        handleResize();
    });
}

void Splitter::setSplitterAppearance(std::int32_t value)
{
    m_state.splitterAppearance = value;
    propertyChanged("SplitterAppearance");
}

void Splitter::setSplitterBorder(std::int32_t value)
{
    m_state.splitterBorder = value;
    propertyChanged("SplitterBorder");
}

void Splitter::setSplitterColor(std::int32_t value)
{
    m_state.splitterColor = value;
    propertyChanged("SplitterColor");
}

void Splitter::setOrientation(std::int32_t value)
{
    transact([&] {
        const std::int16_t remembered = currSplitterPos();
        m_state.orientation = value;
        propertyChanged("Orientation");
        if (value == 0)
            bar().setPointer(SplitterBar::Pointer::SizeWestEast);
        else if (value == 1)
            bar().setPointer(SplitterBar::Pointer::SizeNorthSouth);
        if (m_state.maintain == 0)
            moveBarTo(remembered);
        handleResize();
    });
}

void Splitter::setSplitterSize(int value)
{
    transact([&] {
        m_state.splitterSize = nonNegative(Int16Math::narrow(value));
        propertyChanged("SplitterSize");
        recomputeMinimumTotal();
        handleResize();
    });
}

void Splitter::setMaintain(std::int32_t value)
{
    transact([&] {
        m_state.maintain = value;
        propertyChanged("Maintain");
        applyMaintain();
    });
}

void Splitter::setSplitterPos(int value)
{
    transact([&] {
        m_state.splitterPos = nonNegative(Int16Math::narrow(value));
        propertyChanged("SplitterPos");
        if (m_inRatioFromTopSetter)
            return;
        m_inSplitterPosSetter = true;
        const AssignOnExit leave(m_inSplitterPosSetter, false);
        setRatioFromTop(ratioFromPos(axisExtent(), m_state.splitterPos));
        moveBarTo(m_state.splitterPos);
    });
}

void Splitter::setRatioFromTop(float value)
{
    transact([&] {
        m_state.ratioFromTop = std::clamp(value, 0.0f, 1.0f);
        propertyChanged("RatioFromTop");
        if (m_inSplitterPosSetter)
            return;
        m_inRatioFromTopSetter = true;
        const AssignOnExit leave(m_inRatioFromTopSetter, false);
        setSplitterPos(posFromRatio(axisExtent(), m_state.ratioFromTop));
        moveBarToRatio(m_state.ratioFromTop);
    });
}

void Splitter::setChild1(const std::string &value)
{
    transact([&] {
        m_state.child1 = value;
        propertyChanged("Child1");
        layoutChildren();
    });
}

void Splitter::setChild2(const std::string &value)
{
    transact([&] {
        m_state.child2 = value;
        propertyChanged("Child2");
        layoutChildren();
    });
}

void Splitter::setMaxSize(int value)
{
    transact([&] {
        std::int16_t size = nonNegative(Int16Math::narrow(value));
        if (size > 0 && m_state.maxSizeAppliesTo == 0)
            size = std::max(size, m_state.minSize1);
        else if (size > 0 && m_state.maxSizeAppliesTo == 1)
            size = std::max(size, m_state.minSize2);
        m_state.maxSize = size;
        propertyChanged("MaxSize");
        applyMaintain();
    });
}

void Splitter::setMaxSizeAppliesTo(std::int32_t value)
{
    transact([&] {
        m_state.maxSizeAppliesTo = value;
        propertyChanged("MaxSizeAppliesTo");
        applyMaintain();
    });
}

void Splitter::setMinSize1(std::int32_t value)
{
    setPaneMinSize(0, value);
}

void Splitter::setMinSize2(std::int32_t value)
{
    setPaneMinSize(1, value);
}

// A pane's minimum stays within the maximum size when that applies to it.
void Splitter::setPaneMinSize(std::int32_t pane, std::int32_t value)
{
    transact([&] {
        std::int16_t size = nonNegativeInt16(value);
        if (m_state.maxSize > 0 && m_state.maxSizeAppliesTo == pane)
            size = std::min(size, m_state.maxSize);
        (pane == 0 ? m_state.minSize1 : m_state.minSize2) = size;
        propertyChanged(pane == 0 ? "MinSize1" : "MinSize2");
        recomputeMinimumTotal();
        applyMaintain();
    });
}

void Splitter::setMinSizeAux(std::int32_t value)
{
    transact([&] {
        m_state.minSizeAux = nonNegativeInt16(value);
        propertyChanged("MinSizeAux");
        handleResize();
    });
}

void Splitter::setAllowResize(bool value)
{
    m_state.allowResize = value;
    propertyChanged("AllowResize");
    bar().setVisible(value);
}

void Splitter::setLiveUpdate(bool value)
{
    m_state.liveUpdate = value;
    propertyChanged("LiveUpdate");
}

void Splitter::setResizeHandler(std::function<void()> handler)
{
    m_resizeHandler = std::move(handler);
}

void Splitter::setPropertyChangedHandler(std::function<void(std::string_view)> handler)
{
    m_propertyChangedHandler = std::move(handler);
}

std::int16_t Splitter::currSplitterPos() const
{
    if (m_state.orientation == 0)
        return Int16Math::round(bar().left());
    if (m_state.orientation == 1)
        return Int16Math::round(bar().top());
    return 0;
}

SplitterBar &Splitter::bar() const
{
    return m_host.splitterBar();
}

std::int16_t Splitter::halfBar() const
{
    return static_cast<std::int16_t>(m_state.splitterSize / 2);
}

std::int16_t Splitter::axisExtent() const
{
    if (m_state.orientation == 0)
        return Int16Math::round(m_host.clientWidth());
    if (m_state.orientation == 1)
        return Int16Math::round(m_host.clientHeight());
    return 0;
}

std::int16_t Splitter::measureCrossExtent() const
{
    double extent = 0;
    if (m_state.orientation == 0)
        extent = m_host.clientHeight();
    else if (m_state.orientation == 1)
        extent = m_host.clientWidth();
    else
        return 0;
    return extent <= m_state.minSizeAux ? m_state.minSizeAux : Int16Math::round(extent);
}

float Splitter::ratioFromPos(std::int16_t extent, std::int16_t pos) const
{
    if (extent < 1)
        return 0;
    return static_cast<float>(static_cast<double>(Int16Math::add(pos, halfBar())) / extent);
}

std::int16_t Splitter::posFromRatio(std::int16_t extent, float ratio) const
{
    return Int16Math::round(extent * static_cast<double>(ratio) - halfBar());
}

std::int16_t Splitter::clampPos(std::int16_t extent, std::int16_t pos) const
{
    if (extent <= m_state.minimumTotal)
        return m_state.minSize1;
    std::int16_t p = nonNegative(pos);
    if (Int16Math::add(p, m_state.splitterSize) > extent)
        p = Int16Math::subtract(extent, m_state.splitterSize);
    p = limitByMaxSize(extent, p);
    if (p <= m_state.minSize1)
        return m_state.minSize1;
    const std::int16_t lastPos = Int16Math::subtract(extent, m_state.minSize2);
    if (Int16Math::add(p, m_state.splitterSize) <= lastPos)
        return p;
    return Int16Math::subtract(lastPos, m_state.splitterSize);
}

std::int16_t Splitter::limitByMaxSize(std::int16_t extent, std::int16_t pos) const
{
    if (m_state.maxSize <= 0)
        return pos;
    if (m_state.maxSizeAppliesTo == 0)
        return std::min(pos, m_state.maxSize);
    if (m_state.maxSizeAppliesTo == 1)
        return std::max(pos, Int16Math::subtract(Int16Math::subtract(extent, m_state.maxSize), m_state.splitterSize));
    return pos;
}

void Splitter::placeBar(std::int16_t pos)
{
    if (m_state.orientation != 0 && m_state.orientation != 1)
        return;
    const std::int16_t extent = axisExtent();
    const std::int16_t clamped = clampPos(extent, nonNegative(pos));
    if (m_state.orientation == 0)
        bar().setLeft(clamped);
    else
        bar().setTop(clamped);
    m_state.currRatioFromTop = ratioFromPos(extent, currSplitterPos());
}

// moveBarTo and moveBarToRatio reach each other through the setters and the
// Resize handler; only the outermost of them lays out, so one request gives
// one placement and one Resize.
void Splitter::moveBarTo(std::int16_t pos)
{
    if (m_inMoveBarTo)
        return;
    m_inMoveBarTo = true;
    const AssignOnExit leave(m_inMoveBarTo, false);
    placeBar(pos);
    if (!m_inMoveBarToRatio)
        layoutChildren();
}

void Splitter::moveBarToRatio(float ratio)
{
    if (m_inMoveBarToRatio)
        return;
    m_inMoveBarToRatio = true;
    const AssignOnExit leave(m_inMoveBarToRatio, false);
    const std::int16_t extent = axisExtent();
    moveBarTo(clampPos(extent, posFromRatio(extent, std::clamp(ratio, 0.0f, 1.0f))));
    if (!m_inMoveBarTo)
        layoutChildren();
}

void Splitter::applyMaintain()
{
    if (m_state.maintain == 0)
        moveBarTo(m_state.splitterPos);
    else if (m_state.maintain == 1)
        moveBarToRatio(m_state.ratioFromTop);
}

void Splitter::handleResize()
{
    m_state.crossExtent = measureCrossExtent();
    placeBarOnResize();
}

void Splitter::placeBarOnResize()
{
    std::int16_t wanted = 0;
    if (m_state.maintain == 0)
        wanted = m_state.splitterPos;
    else if (m_state.maintain == 1)
        wanted = posFromRatio(axisExtent(), m_state.ratioFromTop);
    const std::int16_t pos = clampPos(axisExtent(), wanted);
    if (m_state.orientation == 0)
        bar().setRect(pos, 0, m_state.splitterSize, m_state.crossExtent);
    else if (m_state.orientation == 1)
        bar().setRect(0, pos, m_state.crossExtent, m_state.splitterSize);
    else
        return;
    moveBarTo(pos);
}

std::unique_ptr<SplitterChild> Splitter::findChild(const std::string &name) const
{
    if (name.empty())
        return nullptr;
    for (auto &control : m_host.containedControls()) {
        if (CaseInsensitive::equals(control->name(), name))
            return std::move(control);
    }
    return nullptr;
}

void Splitter::layoutChildren()
{
    if (!m_ready)
        return;
    const auto first = findChild(m_state.child1);
    const auto second = findChild(m_state.child2);
    // A list view's own border would otherwise show inside the pane.
    struct Adjustment
    {
        std::int16_t left = 0, top = 0, width = 0, height = 0;
    };
    const auto adjustmentFor = [](const SplitterChild *child) {
        return child && isListView(*child) ? Adjustment{-15, -15, 30, 30} : Adjustment{};
    };
    const Adjustment a1 = adjustmentFor(first.get());
    const Adjustment a2 = adjustmentFor(second.get());
    const std::int16_t pos = currSplitterPos();
    const std::int16_t size = m_state.splitterSize;
    const std::int16_t cross = m_state.crossExtent;
    const auto secondLength = [&](double clientExtent, std::int16_t adjustment) {
        const double rest = clientExtent - Int16Math::add(size, pos);
        return rest >= m_state.minSize2 ? Int16Math::round(adjustment + rest)
                                        : Int16Math::add(adjustment, m_state.minSize2);
    };
    const auto secondStart = [&](std::int16_t adjustment) {
        return Int16Math::add(Int16Math::add(pos, size), adjustment);
    };

    if (m_state.orientation == 0) {
        if (first)
            first->move(a1.left, a1.top, Int16Math::add(pos, a1.width), Int16Math::add(cross, a1.height));
        if (!second) {
            raiseResize();
            return;
        }
        second->move(secondStart(a2.left), a2.top, secondLength(m_host.clientWidth(), a2.width),
                     Int16Math::add(cross, a2.height));
    } else if (m_state.orientation == 1) {
        if (first)
            first->move(a1.left, a1.top, Int16Math::add(cross, a1.width), Int16Math::add(pos, a1.height));
        if (!second) {
            raiseResize();
            return;
        }
        second->move(a2.left, secondStart(a2.top), Int16Math::add(cross, a2.width),
                     secondLength(m_host.clientHeight(), a2.height));
    }
    raiseResize();
}

void Splitter::raiseResize()
{
    if (m_resizeHandler)
        m_resizeHandler();
}

void Splitter::showDragLook()
{
    bar().setAppearance(m_state.splitterAppearance);
    bar().setBackColor(m_state.splitterColor);
    bar().setBorder(m_state.splitterBorder);
}

void Splitter::showRestLook()
{
    bar().setButtonFaceBackColor();
    bar().setBorder(0);
}

// The drag look's border moves the bar's client origin, and with it every
// later mouse position; the grab offset has to move the same way.
std::int16_t Splitter::cursorShiftFromDragLook()
{
    const SplitterBar::Point before = bar().cursorPixels();
    showDragLook();
    const SplitterBar::Point after = bar().cursorPixels();
    if (m_state.orientation == 0)
        return Int16Math::round((before.x - after.x) * bar().twipsPerPixelX());
    return Int16Math::round((before.y - after.y) * bar().twipsPerPixelY());
}

void Splitter::mouseDown(int button, double x, double y)
{
    if (button != LeftButton)
        return;
    m_dragStart = currSplitterPos();
    m_grabOffset = Int16Math::round(m_state.orientation == 0 ? x : y);
    bar().bringToFront();
    if (!m_state.liveUpdate)
        m_grabOffset = Int16Math::subtract(m_grabOffset, cursorShiftFromDragLook());
    m_dragging = true;
}

void Splitter::mouseMove(int buttons, double x, double y)
{
    if (!(buttons & LeftButton) || !m_dragging)
        return;
    double barPos = 0;
    double mousePos = 0;
    if (m_state.orientation == 0) {
        barPos = bar().left();
        mousePos = x;
    } else if (m_state.orientation == 1) {
        barPos = bar().top();
        mousePos = y;
    } else {
        return;
    }
    const std::int16_t current = Int16Math::round(barPos);
    const std::int16_t wanted = Int16Math::round(mousePos - m_grabOffset + barPos);
    const std::int16_t clamped = clampPos(axisExtent(), wanted);
    if (clamped == current)
        return;
    if (m_state.liveUpdate) {
        moveBarTo(clamped);
        return;
    }
    m_ready = false;
    const AssignOnExit ready(m_ready, true);
    moveBarTo(clamped);
}

void Splitter::mouseUp(int button, double, double)
{
    if (button != LeftButton)
        return;
    const AssignOnExit stop(m_dragging, false);
    if (!m_state.liveUpdate) {
        showRestLook();
        layoutChildren();
    }
    setSplitterPos(currSplitterPos());
}

void Splitter::keyPress(int charCode)
{
    if (charCode != kEscapeKey || !m_dragging)
        return;
    const AssignOnExit stop(m_dragging, false);
    if (m_state.liveUpdate) {
        moveBarTo(m_dragStart);
        layoutChildren();
    } else {
        showRestLook();
        moveBarTo(m_dragStart);
    }
}

void Splitter::initializeNewInstance()
{
    m_ready = false;
    {
        const AssignOnExit ready(m_ready, true);
        setBorderStyle(kDefaultBorderStyle);
        setSplitterAppearance(kDefaultSplitterAppearance);
        setSplitterBorder(kDefaultSplitterBorder);
        setSplitterColor(kDefaultSplitterColor);
        setOrientation(kDefaultOrientation);
        setSplitterSize(kDefaultSplitterSize);
        setMaintain(kDefaultMaintain);
        setSplitterPos(posFromRatio(axisExtent(), kDefaultRatioFromTop));
        setRatioFromTop(kDefaultRatioFromTop);
        setChild1({});
        setChild2({});
        setMaxSize(kDefaultMaxSize);
        setMaxSizeAppliesTo(kDefaultMaxSizeAppliesTo);
        setMinSize1(kDefaultMinSize);
        setMinSize2(kDefaultMinSize);
        setMinSizeAux(kDefaultMinSize);
        setAllowResize(kDefaultAllowResize);
        setLiveUpdate(kDefaultLiveUpdate);
    }
    layoutChildren();
}

// The ratio is applied after the position, so the stored ratio decides
// where the bar goes for the extent the control has now.
void Splitter::readProperties(const SplitterPropertyStore &store)
{
    m_ready = false;
    {
        const AssignOnExit ready(m_ready, true);
        setBorderStyle(store.readInt32("BorderStyle", kDefaultBorderStyle));
        setSplitterAppearance(store.readInt32("SplitterAppearance", kDefaultSplitterAppearance));
        setSplitterBorder(store.readInt32("SplitterBorder", kDefaultSplitterBorder));
        setSplitterColor(store.readInt32("SplitterColor", kDefaultSplitterColor));
        setOrientation(store.readInt32("Orientation", kDefaultOrientation));
        setSplitterSize(store.readInt32("SplitterSize", kDefaultSplitterSize));
        setMaintain(store.readInt32("Maintain", kDefaultMaintain));
        setSplitterPos(store.readInt32("SplitterPos", kStoredDefaultSplitterPos));
        setRatioFromTop(store.readFloat("RatioFromTop", kDefaultRatioFromTop));
        setChild1(store.readString("Child1", {}));
        setChild2(store.readString("Child2", {}));
        setMaxSize(store.readInt32("MaxSize", kDefaultMaxSize));
        setMaxSizeAppliesTo(store.readInt32("MaxSizeAppliesTo", kDefaultMaxSizeAppliesTo));
        setMinSize1(store.readInt32("MinSize1", kDefaultMinSize));
        setMinSize2(store.readInt32("MinSize2", kDefaultMinSize));
        setMinSizeAux(store.readInt32("MinSizeAux", kDefaultMinSize));
        setAllowResize(store.readBool("AllowResize", kDefaultAllowResize));
        setLiveUpdate(store.readBool("LiveUpdate", kDefaultLiveUpdate));
    }
    layoutChildren();
}

void Splitter::writeProperties(SplitterPropertyStore &store) const
{
    const auto int32 = [](std::int32_t value) {
        return SplitterPropertyValue{value};
    };
    store.writeProperty("BorderStyle", int32(m_state.borderStyle), int32(kDefaultBorderStyle));
    store.writeProperty("SplitterAppearance", int32(m_state.splitterAppearance), int32(kDefaultSplitterAppearance));
    store.writeProperty("SplitterBorder", int32(m_state.splitterBorder), int32(kDefaultSplitterBorder));
    store.writeProperty("SplitterColor", int32(m_state.splitterColor), int32(kDefaultSplitterColor));
    store.writeProperty("Orientation", int32(m_state.orientation), int32(kDefaultOrientation));
    store.writeProperty("SplitterSize", int32(m_state.splitterSize), int32(kDefaultSplitterSize));
    store.writeProperty("Maintain", int32(m_state.maintain), int32(kDefaultMaintain));
    store.writeProperty("SplitterPos", int32(m_state.splitterPos), int32(kStoredDefaultSplitterPos));
    store.writeProperty("RatioFromTop", m_state.ratioFromTop, kDefaultRatioFromTop);
    store.writeProperty("Child1", m_state.child1, std::string());
    store.writeProperty("Child2", m_state.child2, std::string());
    store.writeProperty("MaxSize", int32(m_state.maxSize), int32(kDefaultMaxSize));
    store.writeProperty("MaxSizeAppliesTo", int32(m_state.maxSizeAppliesTo), int32(kDefaultMaxSizeAppliesTo));
    store.writeProperty("MinSize1", int32(m_state.minSize1), int32(kDefaultMinSize));
    store.writeProperty("MinSize2", int32(m_state.minSize2), int32(kDefaultMinSize));
    store.writeProperty("MinSizeAux", int32(m_state.minSizeAux), int32(kDefaultMinSize));
    store.writeProperty("AllowResize", m_state.allowResize, kDefaultAllowResize);
    store.writeProperty("LiveUpdate", m_state.liveUpdate, kDefaultLiveUpdate);
}
