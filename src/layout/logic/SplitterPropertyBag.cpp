#include "layout/logic/SplitterPropertyBag.h"

#include "layout/logic/CaseInsensitive.h"

SplitterPropertyValue SplitterPropertyBag::readProperty(std::string_view name,
                                                        const SplitterPropertyValue &defaultValue) const
{
    return value(name).value_or(defaultValue);
}

void SplitterPropertyBag::writeProperty(std::string_view name, const SplitterPropertyValue &value,
                                        const SplitterPropertyValue &defaultValue)
{
    if (value == defaultValue)
        m_values.erase(CaseInsensitive::lower(name));
    else
        set(name, value);
}

void SplitterPropertyBag::set(std::string_view name, const SplitterPropertyValue &value)
{
    m_values.insert_or_assign(CaseInsensitive::lower(name), value);
}

std::optional<SplitterPropertyValue> SplitterPropertyBag::value(std::string_view name) const
{
    const auto found = m_values.find(CaseInsensitive::lower(name));
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::string> SplitterPropertyBag::names() const
{
    std::vector<std::string> result;
    result.reserve(m_values.size());
    for (const auto &entry : m_values)
        result.push_back(entry.first);
    return result;
}
