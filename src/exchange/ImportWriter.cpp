#include "exchange/ImportWriter.h"

#include <utility>

ImportWriter::ImportWriter(const XMLDatabase &database, XmlDocument dom)
    : m_dom(std::move(dom))
    , m_identifiers(database)
{
}

XmlNode ImportWriter::addTopFolder(const QString &name)
{
    XmlNode folder = appendFolder(m_dom.documentElement(), name);
    if (folder)
        m_tops.push_back(folder);
    return folder;
}

XmlNode ImportWriter::addFolder(const XmlNode &parent, const QString &name)
{
    return appendFolder(parent.selectSingleNode(QStringLiteral("SUBFOLDERS")), name);
}

XmlNode ImportWriter::appendFolder(XmlNode collection, const QString &name)
{
    const QString tid = m_outOfIdentifiers ? QString() : m_identifiers.nextTID();
    if (tid.isEmpty()) {
        m_outOfIdentifiers = true;
        return {};
    }
    ++m_folders;
    return LibraryElements::appendFolder(m_dom, collection, tid, name);
}

XmlNode ImportWriter::addSitePin(const XmlNode &folder, const SitePinFields &fields)
{
    const QString wid = m_outOfIdentifiers ? QString() : m_identifiers.nextWID();
    if (wid.isEmpty()) {
        m_outOfIdentifiers = true;
        return {};
    }
    ++m_sitePins;
    XmlNode sitePins = folder.selectSingleNode(QStringLiteral("SITEPINS"));
    return LibraryElements::appendSitePin(m_dom, sitePins, wid, fields);
}

void ImportWriter::revert()
{
    XmlNode root = m_dom.documentElement();
    for (const XmlNode &top : m_tops)
        root.removeChild(top);
    m_tops.clear();
    m_folders = 0;
    m_sitePins = 0;
}
