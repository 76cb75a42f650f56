#pragma once

#include "store/XmlNode.h"

#include <QString>

#include <vector>

class SitePinTextIndex;
class XmlDocument;

// SitePins whose addresses lead to the same page.
struct DuplicateGroup
{
    // The shared address in its normalised form, with the first SitePin's scheme.
    QString address;
    // Some of the SitePins ask for the page over http, others over https.
    bool mixesHttpAndHttps = false;
    // In document order.
    std::vector<XmlNode> sitePins;
};

// Finds the SitePins of a library that are copies of one another, by the
// normalised form of their addresses (AddressKey).
class DuplicateFinder
{
public:
    // Groups of two or more, in the document order of their first SitePins.
    // The window's copy of the SitePins' texts makes a first pass quick:
    // addresses that differ even with every letter in lower case cannot be
    // copies, and only the few others are read from the document.
    static std::vector<DuplicateGroup> find(const XmlDocument &dom, SitePinTextIndex &texts);
};
