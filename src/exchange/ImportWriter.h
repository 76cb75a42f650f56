#pragma once

#include "store/IdentifierRun.h"
#include "store/LibraryElements.h"
#include "store/XmlDocument.h"

#include <QString>

#include <vector>

class XMLDatabase;

// Adds folders and SitePins to the library one after another, as an import
// does: numbered by one IdentifierRun, stopped for good once the numbers run
// out, and taken out again on request.
class ImportWriter
{
public:
    ImportWriter(const XMLDatabase &database, XmlDocument dom);

    // Each a null node when no identifier is left.
    XmlNode addTopFolder(const QString &name);
    XmlNode addFolder(const XmlNode &parent, const QString &name);
    XmlNode addSitePin(const XmlNode &folder, const SitePinFields &fields);

    bool outOfIdentifiers() const { return m_outOfIdentifiers; }
    int foldersAdded() const { return m_folders; }
    int sitePinsAdded() const { return m_sitePins; }
    const std::vector<XmlNode> &topFolders() const { return m_tops; }

    // Takes every folder added at the top out of the document again, with
    // everything in it.
    void revert();

private:
    XmlNode appendFolder(XmlNode collection, const QString &name);

    XmlDocument m_dom;
    IdentifierRun m_identifiers;
    std::vector<XmlNode> m_tops;
    int m_folders = 0;
    int m_sitePins = 0;
    bool m_outOfIdentifiers = false;
};
