#pragma once

#include "store/XmlDocument.h"

#include <QString>

#include <optional>
#include <vector>

// The Search tab's search, for the command line: a text looked for in one
// field of every SitePin, or in each of its fields, without regard to case.
class LibrarySearch
{
public:
    enum class Field
    {
        All,
        Name,
        Address,
        Notes,
    };

    // "all", "name", "address" or "notes".
    static std::optional<Field> fieldNamed(const QString &name);
    // In document order. An empty text finds the SitePins whose field holds
    // any text, as in the window.
    static std::vector<XmlNode> find(const XmlDocument &dom, const QString &text, Field field);
    // "name<TAB>address", with tabs and line ends in them turned to blanks so
    // that every SitePin is one line.
    static QString line(const XmlNode &sitePin);
};
