#pragma once

#include "store/XmlNode.h"

#include <QString>

class XmlDocument;

// What a new SitePin holds; KEYWORD1 and KEYWORD2 are always written empty.
struct SitePinFields
{
    QString name;
    QString address;
    QString createdDate;
    QString description;
    QString notes;
    bool favourite = false;
};

// New FOLDER and SITEPIN elements, appended with their children in the
// library's order, so every command that adds to the library writes the
// same layout.
class LibraryElements
{
public:
    // Appends to FOLDERS (a base folder) or to a folder's SUBFOLDERS.
    static XmlNode appendFolder(XmlDocument &dom, XmlNode &collection, const QString &tid, const QString &name);
    // Appends to a folder's SITEPINS.
    static XmlNode appendSitePin(XmlDocument &dom, XmlNode &sitePins, const QString &wid, const SitePinFields &fields);
};
