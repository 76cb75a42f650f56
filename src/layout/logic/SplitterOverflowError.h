#pragma once

#include <stdexcept>

// Raised instead of wrapping when a splitter position leaves the signed
// 16-bit range that the control's stored positions are limited to.
class SplitterOverflowError : public std::overflow_error
{
public:
    SplitterOverflowError();
};
