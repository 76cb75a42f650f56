#include "layout/logic/SplitterPropertyStore.h"

#include "layout/logic/CaseInsensitive.h"
#include "layout/logic/Int16Math.h"
#include "layout/logic/SplitterOverflowError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

std::optional<double> parseNumber(const std::string &text)
{
    double number = 0;
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

std::optional<double> numberOf(const SplitterPropertyValue &value)
{
    if (const auto *b = std::get_if<bool>(&value))
        return *b ? 1.0 : 0.0;
    if (const auto *i = std::get_if<std::int32_t>(&value))
        return *i;
    if (const auto *f = std::get_if<float>(&value))
        return *f;
    return parseNumber(std::get<std::string>(value));
}

std::int32_t toInt32(double number)
{
    const double rounded = Int16Math::roundHalfToEven(number);
    if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max()))
        throw SplitterOverflowError();
    return static_cast<std::int32_t>(rounded);
}

} // namespace

SplitterPropertyStore::~SplitterPropertyStore() = default;

std::int32_t SplitterPropertyStore::readInt32(std::string_view name, std::int32_t defaultValue) const
{
    const SplitterPropertyValue value = readProperty(name, defaultValue);
    if (const auto *i = std::get_if<std::int32_t>(&value))
        return *i;
    const auto number = numberOf(value);
    return number ? toInt32(*number) : defaultValue;
}

float SplitterPropertyStore::readFloat(std::string_view name, float defaultValue) const
{
    const auto number = numberOf(readProperty(name, defaultValue));
    return number ? static_cast<float>(*number) : defaultValue;
}

bool SplitterPropertyStore::readBool(std::string_view name, bool defaultValue) const
{
    const SplitterPropertyValue value = readProperty(name, defaultValue);
    if (const auto *text = std::get_if<std::string>(&value)) {
        if (CaseInsensitive::equals(*text, "true"))
            return true;
        if (CaseInsensitive::equals(*text, "false"))
            return false;
    }
    const auto number = numberOf(value);
    return number ? *number != 0 : defaultValue;
}

std::string SplitterPropertyStore::readString(std::string_view name, const std::string &defaultValue) const
{
    const SplitterPropertyValue value = readProperty(name, defaultValue);
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *b = std::get_if<bool>(&value))
        return *b ? "True" : "False";
    if (const auto *i = std::get_if<std::int32_t>(&value))
        return std::to_string(*i);
    char buffer[32];
    const auto [end, error] = std::to_chars(std::begin(buffer), std::end(buffer), std::get<float>(value));
    return error == std::errc() ? std::string(buffer, end) : defaultValue;
}
