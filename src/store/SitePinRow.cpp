#include "store/SitePinRow.h"

#include "store/ElementWalk.h"
#include "store/XmlNode.h"

#include <libxml/tree.h>

namespace {

bool isNamed(const xmlNode *node, const char *name)
{
    return ElementWalk::isElement(node) && xmlStrEqual(node->name, reinterpret_cast<const xmlChar *>(name));
}

} // namespace

SitePinRow SitePinRow::of(const xmlNode *sitePin)
{
    SitePinRow row;
    for (const xmlAttr *attr = sitePin->properties; attr; attr = attr->next) {
        if (!attr->ns && xmlStrEqual(attr->name, reinterpret_cast<const xmlChar *>("WID"))) {
            row.wid = XmlNode::textOf(reinterpret_cast<const xmlNode *>(attr));
            break;
        }
    }
    for (const xmlNode *child = sitePin->children; child; child = child->next) {
        if (isNamed(child, "NAME")) {
            row.name = XmlNode::textOf(child);
            break;
        }
    }
    return row;
}

SitePinRow SitePinRow::of(const XmlNode &sitePin)
{
    const xmlNode *node = sitePin.live();
    return ElementWalk::isElement(node) ? of(node) : SitePinRow();
}
