#include "layout/logic/CaseInsensitive.h"

#include <algorithm>

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool CaseInsensitive::equals(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::string CaseInsensitive::lower(std::string_view text)
{
    std::string result(text);
    std::ranges::transform(result, result.begin(), lowerAscii);
    return result;
}
