#include "finding/SitePinWalk.h"

#include "store/XmlNode.h"

void SitePinWalk::forEach(const XmlNode &root, const std::function<void(const XmlNode &sitePin)> &visit)
{
    root.forEachOutermostElementByTagName(QStringLiteral("SITEPIN"), visit);
}
