#pragma once

#include "care/logic/LinkChecker.h"
#include "store/XmlNode.h"

#include <QString>

#include <vector>

// Where the library's web addresses are, as the care windows list them.
class LibraryLinks
{
public:
    // The web addresses of the SitePins below `top` (the root or a folder),
    // at any depth, in document order, each with its SitePin's identifier.
    static std::vector<LinkChecker::Link> webLinksUnder(const XmlNode &top);
    // The names of the SitePin's folders from the top down: "Projects -> Work".
    static QString folderPathOf(const XmlNode &sitePin);
};
