#pragma once

#include <string>
#include <string_view>

// Name comparisons for control and property names, which are ASCII
// identifiers; other bytes are compared as they are.
class CaseInsensitive
{
public:
    static bool equals(std::string_view a, std::string_view b);
    static std::string lower(std::string_view text);
};
