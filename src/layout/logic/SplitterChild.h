#pragma once

#include <string>

// A control placed inside a splitter, as the splitter sees it.
class SplitterChild
{
public:
    virtual ~SplitterChild();

    virtual std::string name() const = 0;
    virtual std::string typeName() const = 0;
    // Twips, relative to the splitter's client area.
    virtual void move(double left, double top, double width, double height) = 0;
};
