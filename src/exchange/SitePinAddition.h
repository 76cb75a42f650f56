#pragma once

#include "store/XmlDocument.h"

#include <QDate>
#include <QString>

#include <vector>

class XMLDatabase;

// Adds one SitePin to the folder at a path from the top, making the
// folders on the way that are missing, as the command line does it.
// Nothing is saved here.
class SitePinAddition
{
public:
    // Where a SitePin goes when no folder is named: the library's top holds
    // folders only.
    static constexpr const char *kDefaultFolder = "Unsorted";

    struct Request
    {
        QString address;
        // The address when empty.
        QString name;
        // kDefaultFolder when empty.
        QString folderPath;
    };
    struct Outcome
    {
        bool ok = false;
        QString errorString;
        XmlNode sitePin;
        XmlNode folder;
        // Outermost first.
        std::vector<XmlNode> createdFolders;

        // What the command line prints.
        QString summary() const;
    };

    // On failure the document is as it was.
    static Outcome add(const XMLDatabase &database, XmlDocument dom, const Request &request, const QDate &today);
    // Takes a successful addition back out of the document.
    static void undo(const Outcome &outcome);
};
