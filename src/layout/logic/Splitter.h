#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class SplitterBar;
class SplitterChild;
class SplitterHost;
class SplitterPropertyStore;

// Divides its host's client area into two panes separated by a draggable
// bar and keeps the two named child controls sized to the panes. All
// positions are twips; position arithmetic is signed 16-bit and raises
// SplitterOverflowError rather than wrapping. A setter that raises leaves
// every property as it was.
class Splitter
{
public:
    enum MouseButton : int
    {
        NoButton = 0,
        LeftButton = 1,
        RightButton = 2,
        MiddleButton = 4
    };
    static constexpr int kEscapeKey = 27;

    explicit Splitter(SplitterHost &host);
    Splitter(const Splitter &) = delete;
    Splitter &operator=(const Splitter &) = delete;

    // The property browser's text for a property or the Resize event; empty
    // for any other name.
    static std::string_view description(std::string_view memberName);

    std::int32_t borderStyle() const { return m_state.borderStyle; }
    void setBorderStyle(std::int32_t value);
    std::int32_t splitterAppearance() const { return m_state.splitterAppearance; }
    void setSplitterAppearance(std::int32_t value);
    std::int32_t splitterBorder() const { return m_state.splitterBorder; }
    void setSplitterBorder(std::int32_t value);
    // 0x00BBGGRR
    std::int32_t splitterColor() const { return m_state.splitterColor; }
    void setSplitterColor(std::int32_t value);
    std::int32_t orientation() const { return m_state.orientation; }
    void setOrientation(std::int32_t value);
    std::int16_t splitterSize() const { return m_state.splitterSize; }
    void setSplitterSize(int value);
    std::int32_t maintain() const { return m_state.maintain; }
    void setMaintain(std::int32_t value);
    std::int16_t splitterPos() const { return m_state.splitterPos; }
    void setSplitterPos(int value);
    std::int16_t currSplitterPos() const;
    float ratioFromTop() const { return m_state.ratioFromTop; }
    void setRatioFromTop(float value);
    float currRatioFromTop() const { return m_state.currRatioFromTop; }
    const std::string &child1() const { return m_state.child1; }
    void setChild1(const std::string &value);
    const std::string &child2() const { return m_state.child2; }
    void setChild2(const std::string &value);
    std::int16_t maxSize() const { return m_state.maxSize; }
    void setMaxSize(int value);
    std::int32_t maxSizeAppliesTo() const { return m_state.maxSizeAppliesTo; }
    void setMaxSizeAppliesTo(std::int32_t value);
    std::int32_t minSize1() const { return m_state.minSize1; }
    void setMinSize1(std::int32_t value);
    std::int32_t minSize2() const { return m_state.minSize2; }
    void setMinSize2(std::int32_t value);
    std::int32_t minSizeAux() const { return m_state.minSizeAux; }
    void setMinSizeAux(std::int32_t value);
    bool allowResize() const { return m_state.allowResize; }
    void setAllowResize(bool value);
    bool liveUpdate() const { return m_state.liveUpdate; }
    void setLiveUpdate(bool value);

    // Raised at the end of every layout pass.
    void setResizeHandler(std::function<void()> handler);
    // Told the property's name each time a setter stores a value.
    void setPropertyChangedHandler(std::function<void(std::string_view)> handler);

    void initializeNewInstance();
    void readProperties(const SplitterPropertyStore &store);
    void writeProperties(SplitterPropertyStore &store) const;
    // The host's client area changed its size.
    void handleResize();

    // Positions are twips relative to the bar's client area; mouseMove takes
    // the buttons held, the others the button that changed.
    void mouseDown(int button, double x, double y);
    void mouseMove(int buttons, double x, double y);
    void mouseUp(int button, double x, double y);
    void keyPress(int charCode);

    bool isReady() const { return m_ready; }
    bool isDragging() const { return m_dragging; }

private:
    struct State
    {
        std::int32_t borderStyle = 0;
        std::int32_t splitterAppearance = 0;
        std::int32_t splitterBorder = 0;
        std::int32_t splitterColor = 0;
        std::int32_t orientation = 0;
        std::int16_t splitterSize = 0;
        std::int32_t maintain = 0;
        std::int16_t splitterPos = 0;
        float ratioFromTop = 0;
        float currRatioFromTop = 0;
        std::string child1;
        std::string child2;
        std::int16_t maxSize = 0;
        std::int32_t maxSizeAppliesTo = 0;
        std::int16_t minSize1 = 0;
        std::int16_t minSize2 = 0;
        std::int16_t minSizeAux = 0;
        bool allowResize = false;
        bool liveUpdate = false;
        std::int16_t crossExtent = 0;
        std::int16_t minimumTotal = 0;
    };

    template<typename Change>
    void transact(Change &&change);
    void propertyChanged(std::string_view name);
    void recomputeMinimumTotal();
    void setPaneMinSize(std::int32_t pane, std::int32_t value);

    std::int16_t halfBar() const;
    std::int16_t axisExtent() const;
    std::int16_t measureCrossExtent() const;
    float ratioFromPos(std::int16_t extent, std::int16_t pos) const;
    std::int16_t posFromRatio(std::int16_t extent, float ratio) const;
    std::int16_t clampPos(std::int16_t extent, std::int16_t pos) const;
    std::int16_t limitByMaxSize(std::int16_t extent, std::int16_t pos) const;

    void placeBar(std::int16_t pos);
    void moveBarTo(std::int16_t pos);
    void moveBarToRatio(float ratio);
    void applyMaintain();
    void placeBarOnResize();
    std::unique_ptr<SplitterChild> findChild(const std::string &name) const;
    void layoutChildren();
    void raiseResize();

    SplitterBar &bar() const;
    void showDragLook();
    void showRestLook();
    std::int16_t cursorShiftFromDragLook();

    SplitterHost &m_host;
    State m_state;
    std::function<void()> m_resizeHandler;
    std::function<void(std::string_view)> m_propertyChangedHandler;

    bool m_ready = false;
    bool m_dragging = false;
    std::int16_t m_dragStart = 0;
    std::int16_t m_grabOffset = 0;

    bool m_inSplitterPosSetter = false;
    bool m_inRatioFromTopSetter = false;
    bool m_inMoveBarTo = false;
    bool m_inMoveBarToRatio = false;
};
