#pragma once

#include "layout/logic/SplitterPropertyStore.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// An in-memory property store. Names are kept in lower case, and a value
// equal to its default is not kept at all, so a saved instance lists only
// what differs from a fresh one.
class SplitterPropertyBag : public SplitterPropertyStore
{
public:
    SplitterPropertyValue readProperty(std::string_view name, const SplitterPropertyValue &defaultValue) const override;
    void writeProperty(std::string_view name, const SplitterPropertyValue &value,
                       const SplitterPropertyValue &defaultValue) override;

    void set(std::string_view name, const SplitterPropertyValue &value);
    std::optional<SplitterPropertyValue> value(std::string_view name) const;
    std::vector<std::string> names() const;

private:
    std::map<std::string, SplitterPropertyValue> m_values;
};
