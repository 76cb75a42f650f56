#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class SplitterBar;
class SplitterChild;

// What a splitter needs of the window it lives in.
class SplitterHost
{
public:
    virtual ~SplitterHost();

    // Twips.
    virtual double clientWidth() const = 0;
    virtual double clientHeight() const = 0;
    // Every control placed inside the splitter except the bar, in container order.
    virtual std::vector<std::unique_ptr<SplitterChild>> containedControls() const = 0;
    virtual SplitterBar &splitterBar() = 0;
    // 0 none, 1 single line
    virtual void setFrameBorder(std::int32_t borderStyle) = 0;
};
