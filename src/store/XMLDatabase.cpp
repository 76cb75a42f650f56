#include "store/XMLDatabase.h"

#include "store/LeftoverFiles.h"

bool XMLDatabase::openDBValidate(const QString &path)
{
    m_strOpenedPath = path;
    m_objDOM = XmlDocument::create();
    const bool opened = m_objDOM.load(m_strOpenedPath);
    m_strLastOpenError = m_objDOM.parseErrorReason();
    // Only once the library is known to be good: what a killed save left
    // is never the last copy of anything then.
    if (opened)
        LeftoverFiles::removeBeside(m_strOpenedPath);
    return opened;
}

bool XMLDatabase::openTempDBValidate(const QString &path)
{
    XmlDocument candidate = XmlDocument::create();
    const bool opened = candidate.load(path);
    m_strLastOpenError = candidate.parseErrorReason();
    if (opened)
        m_objTempDOM = candidate;
    return opened;
}

QString XMLDatabase::getNewTID() const
{
    return newIdentifier(QStringLiteral("FOLDER"), QLatin1Char('T'));
}

QString XMLDatabase::getNewWID() const
{
    return newIdentifier(QStringLiteral("SITEPIN"), QLatin1Char('W'));
}

int XMLDatabase::countElements(const QString &tagName) const
{
    const XmlNode root = m_objDOM.documentElement();
    return root ? countOf(root, tagName) : 0;
}

// A SitePin never holds another, so its count need not look inside them,
// which is most of the document; folders nest and are counted everywhere.
int XMLDatabase::countOf(const XmlNode &root, const QString &tagName)
{
    if (tagName != QLatin1String("SITEPIN"))
        return root.countElementsByTagName(tagName);
    int count = 0;
    root.forEachOutermostElementByTagName(tagName, [&count](const XmlNode &) { ++count; });
    return count;
}

// Starts at the element count plus one and probes upward; numbers freed below
// that point are not handed out again.
QString XMLDatabase::newIdentifier(const QString &tagName, QChar prefix) const
{
    const XmlNode root = m_objDOM.documentElement();
    if (!root)
        return {};
    for (int n = countOf(root, tagName) + 1; n <= kMaxIdentifierNumber; ++n) {
        const QString candidate = prefix + QString::number(n);
        if (!m_objDOM.nodeFromID(candidate))
            return candidate;
    }
    return {};
}

QString XMLDatabase::getSPAsFormattedString(const QString &id) const
{
    static const QString lineEnds = QStringLiteral("\r\n\r\n");
    return QStringLiteral("Name: ") + getSPName(id) + lineEnds + QStringLiteral("Address: ") + getSPAddress(id) +
           lineEnds + QStringLiteral("Description: ") + getSPDescription(id) + lineEnds + QStringLiteral("Notes: ") +
           getSPNotes(id) + lineEnds;
}

QString XMLDatabase::getSPName(const QString &id) const
{
    return childTextOf(id, QStringLiteral("NAME"));
}

QString XMLDatabase::getSPAddress(const QString &id) const
{
    return childTextOf(id, QStringLiteral("ADDRESS"));
}

QString XMLDatabase::getSPDescription(const QString &id) const
{
    return childTextOf(id, QStringLiteral("DESCRIPTION"));
}

QString XMLDatabase::getSPNotes(const QString &id) const
{
    return childTextOf(id, QStringLiteral("NOTES"));
}

// An identifier that names no SitePin reads as empty fields.
QString XMLDatabase::childTextOf(const QString &id, const QString &childName) const
{
    const XmlNode element = m_objDOM.nodeFromID(id);
    if (!element || element.nodeName() != QLatin1String("SITEPIN"))
        return {};
    return element.selectSingleNode(childName).text();
}
