#include "store/SitePinRow.h"

#include "store/ElementWalk.h"
#include "store/XmlNode.h"

#include <libxml/tree.h>

namespace {

bool isNamed(const xmlNode *node, const char *name)
{
    return ElementWalk::isElement(node) && xmlStrEqual(node->name, reinterpret_cast<const xmlChar *>(name));
}

// An element's or attribute's text as XmlNode reads it; nearly every one
// holds a single text node.
QString textOf(const xmlNode *node)
{
    const xmlNode *only = node->children;
    if (!only)
        return {};
    if (only->type == XML_TEXT_NODE && !only->next && only->content)
        return QString::fromUtf8(reinterpret_cast<const char *>(only->content));
    xmlChar *content = xmlNodeGetContent(node);
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(content));
    xmlFree(content);
    return text;
}

} // namespace

SitePinRow SitePinRow::of(const xmlNode *sitePin)
{
    SitePinRow row;
    for (const xmlAttr *attr = sitePin->properties; attr; attr = attr->next) {
        if (!attr->ns && xmlStrEqual(attr->name, reinterpret_cast<const xmlChar *>("WID"))) {
            row.wid = textOf(reinterpret_cast<const xmlNode *>(attr));
            break;
        }
    }
    for (const xmlNode *child = sitePin->children; child; child = child->next) {
        if (isNamed(child, "NAME")) {
            row.name = textOf(child);
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
