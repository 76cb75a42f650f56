#include "care/logic/LibraryLinks.h"

#include <QStringList>

std::vector<LinkChecker::Link> LibraryLinks::webLinksUnder(const XmlNode &top)
{
    std::vector<LinkChecker::Link> links;
    const QString addressName = QStringLiteral("ADDRESS");
    top.forEachOutermostElementByTagName(QStringLiteral("SITEPIN"), [&](const XmlNode &sitePin) {
        const QString address = sitePin.selectSingleNode(addressName).text();
        if (LinkChecker::isCheckable(address))
            links.push_back({sitePin.getAttribute(QStringLiteral("WID")), address});
    });
    return links;
}

// A SitePin's folder is two levels up, and so is each folder's parent
// folder, up to the root.
QString LibraryLinks::folderPathOf(const XmlNode &sitePin)
{
    QStringList names;
    for (XmlNode folder = sitePin.parentNode().parentNode(); folder.nodeName() == QLatin1String("FOLDER");
         folder = folder.parentNode().parentNode())
        names.prepend(folder.selectSingleNode(QStringLiteral("NAME")).text());
    return names.join(QStringLiteral(" -> "));
}
