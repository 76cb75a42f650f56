#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

using SplitterPropertyValue = std::variant<bool, std::int32_t, float, std::string>;

// Persistence for a splitter's properties. Implementations match names
// without regard to case.
class SplitterPropertyStore
{
public:
    virtual ~SplitterPropertyStore();

    virtual SplitterPropertyValue readProperty(std::string_view name,
                                               const SplitterPropertyValue &defaultValue) const = 0;
    virtual void writeProperty(std::string_view name, const SplitterPropertyValue &value,
                               const SplitterPropertyValue &defaultValue) = 0;

    // A stored value of another kind is converted; text that is no number
    // reads as the default.
    std::int32_t readInt32(std::string_view name, std::int32_t defaultValue) const;
    float readFloat(std::string_view name, float defaultValue) const;
    bool readBool(std::string_view name, bool defaultValue) const;
    std::string readString(std::string_view name, const std::string &defaultValue) const;
};
