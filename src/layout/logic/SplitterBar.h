#pragma once

#include <cstdint>

// The draggable bar between the two panes. Positions are twips relative to
// the splitter's client area.
class SplitterBar
{
public:
    enum class Pointer
    {
        SizeWestEast,
        SizeNorthSouth
    };
    struct Point
    {
        double x = 0;
        double y = 0;
    };

    virtual ~SplitterBar();

    virtual double left() const = 0;
    virtual double top() const = 0;
    virtual void setRect(double left, double top, double width, double height) = 0;
    virtual void setLeft(double left) = 0;
    virtual void setTop(double top) = 0;

    virtual void setVisible(bool visible) = 0;
    virtual void setPointer(Pointer pointer) = 0;
    // 0x00BBGGRR
    virtual void setBackColor(std::int32_t color) = 0;
    virtual void setButtonFaceBackColor() = 0;
    // 0 none, 1 single line
    virtual void setBorder(std::int32_t border) = 0;
    // 0 flat, 1 three-dimensional
    virtual void setAppearance(std::int32_t appearance) = 0;
    virtual void bringToFront() = 0;

    // The mouse cursor in the bar's client coordinates, in pixels; only the
    // change between two readings matters.
    virtual Point cursorPixels() const = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
};
