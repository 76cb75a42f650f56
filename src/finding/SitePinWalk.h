#pragma once

#include <functional>

class XmlNode;

// Visits the library's SitePins in document order, folder by folder, in one
// pass over the tree. The walk does not look inside a SitePin for further
// SitePins (none can be there), so a search can read each SitePin's fields
// while they are still in the cache instead of collecting every SITEPIN
// element first and reading them all again.
class SitePinWalk
{
public:
    static void forEach(const XmlNode &root, const std::function<void(const XmlNode &sitePin)> &visit);
};
