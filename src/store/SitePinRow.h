#pragma once

#include <QString>

class XmlNode;
struct _xmlNode;

// What a SitePin list shows of a SitePin: its name, tagged with its WID.
struct SitePinRow
{
    QString wid;
    QString name;

    bool operator==(const SitePinRow &) const = default;

    // Lists of thousands of SitePins are filled from these, so they read
    // the document's nodes in place rather than through XmlNode's lookups.
    static SitePinRow of(const XmlNode &sitePin);
    static SitePinRow of(const _xmlNode *sitePin);
};
