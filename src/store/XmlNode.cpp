#include "store/XmlNode.h"

#include "store/ElementWalk.h"
#include "store/IdentifierTable.h"
#include "store/XmlDocument.h"
#include "store/XmlDocumentData.h"
#include "store/XmlText.h"

#include <libxml/tree.h>
#include <libxml/valid.h>

namespace {

bool isElement(const xmlNode *node)
{
    return ElementWalk::isElement(node);
}

// Compares without converting the wanted name: looking children up by name
// is the innermost step of every walk over the library.
bool hasName(const xmlNode *node, QStringView name, xmlElementType type = XML_ELEMENT_NODE)
{
    if (!node || node->type != type)
        return false;
    const xmlChar *actual = node->name;
    qsizetype i = 0;
    for (; i < name.size(); ++i) {
        const char16_t wanted = name.at(i).unicode();
        if (wanted >= 0x80)
            return QString::fromUtf8(reinterpret_cast<const char *>(actual)) == name;
        if (actual[i] != wanted)
            return false;
    }
    return actual[i] == 0;
}

bool hasUtf8Name(const xmlNode *node, const QByteArray &name)
{
    return isElement(node) && !name.isEmpty() && node->name[0] == static_cast<xmlChar>(name.at(0)) &&
           xmlStrcmp(node->name, reinterpret_cast<const xmlChar *>(name.constData())) == 0;
}

bool isAncestorOrSelf(xmlNodePtr candidate, xmlNodePtr node)
{
    for (xmlNodePtr walk = node; walk; walk = walk->parent) {
        if (walk == candidate)
            return true;
    }
    return false;
}

bool isInTree(xmlNodePtr node, xmlDocPtr doc)
{
    xmlNodePtr walk = node;
    while (walk->parent)
        walk = walk->parent;
    return walk == reinterpret_cast<xmlNodePtr>(doc);
}

// The attribute without a namespace, as getAttribute() reads it.
xmlAttrPtr plainAttribute(xmlNodePtr element, const QByteArray &name)
{
    for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
        if (!attr->ns && xmlStrEqual(attr->name, reinterpret_cast<const xmlChar *>(name.constData())))
            return attr;
    }
    return nullptr;
}

void takeFromDetached(XmlDocumentData &data, xmlNodePtr node)
{
    for (auto it = data.detached.rbegin(); it != data.detached.rend(); ++it) {
        if (*it == node) {
            data.detached.erase(std::next(it).base());
            return;
        }
    }
}

} // namespace

XmlNode::XmlNode(std::shared_ptr<XmlDocumentData> data, xmlNode *node)
    : m_data(std::move(data))
    , m_node(node)
    , m_generation(m_data ? m_data->generation : 0)
{
}

xmlNodePtr XmlNode::live() const
{
    return m_data && m_data->generation == m_generation ? m_node : nullptr;
}

QString XmlNode::nodeName() const
{
    const xmlNodePtr node = live();
    if (!node || !node->name)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(node->name));
}

XmlNode XmlNode::parentNode() const
{
    const xmlNodePtr node = live();
    if (!node || !node->parent)
        return {};
    return XmlNode(m_data, node->parent);
}

XmlDocument XmlNode::ownerDocument() const
{
    return live() ? XmlDocument(m_data) : XmlDocument();
}

bool XmlNode::isInDocument() const
{
    const xmlNodePtr node = live();
    return node && m_data->doc && isInTree(node, m_data->doc);
}

XmlNode XmlNode::selectSingleNode(const QString &name) const
{
    const xmlNodePtr node = live();
    if (!node)
        return {};
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (hasName(child, name))
            return XmlNode(m_data, child);
    }
    return {};
}

std::vector<XmlNode> XmlNode::childElements() const
{
    std::vector<XmlNode> result;
    const xmlNodePtr node = live();
    if (!node)
        return result;
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (isElement(child))
            result.emplace_back(m_data, child);
    }
    return result;
}

XmlNode XmlNode::firstChildElement() const
{
    const xmlNodePtr node = live();
    if (!node)
        return {};
    for (xmlNodePtr child = node->children; child; child = child->next) {
        if (isElement(child))
            return XmlNode(m_data, child);
    }
    return {};
}

XmlNode XmlNode::nextSiblingElement() const
{
    const xmlNodePtr node = live();
    if (!node)
        return {};
    for (xmlNodePtr sibling = node->next; sibling; sibling = sibling->next) {
        if (isElement(sibling))
            return XmlNode(m_data, sibling);
    }
    return {};
}

std::vector<XmlNode> XmlNode::getElementsByTagName(const QString &name) const
{
    std::vector<XmlNode> result;
    const xmlNodePtr node = live();
    if (!node)
        return result;
    const QByteArray wanted = name.toUtf8();
    ElementWalk::descendants(node, [&](xmlNodePtr element) {
        if (hasUtf8Name(element, wanted))
            result.emplace_back(m_data, element);
    });
    return result;
}

void XmlNode::forEachOutermostElementByTagName(const QString &name,
                                               const std::function<void(const XmlNode &)> &visit) const
{
    const xmlNodePtr node = live();
    if (!node)
        return;
    const QByteArray wanted = name.toUtf8();
    ElementWalk::pruned(node, [&](xmlNodePtr element) {
        if (!hasUtf8Name(element, wanted))
            return true;
        visit(XmlNode(m_data, element));
        return false;
    });
}

int XmlNode::countElementsByTagName(const QString &name) const
{
    int count = 0;
    const xmlNodePtr node = live();
    if (!node)
        return count;
    const QByteArray wanted = name.toUtf8();
    ElementWalk::descendants(node, [&](xmlNodePtr element) {
        if (hasUtf8Name(element, wanted))
            ++count;
    });
    return count;
}

bool XmlNode::hasAttributes() const
{
    const xmlNodePtr node = live();
    return isElement(node) && node->properties != nullptr;
}

QString XmlNode::getAttribute(const QString &name) const
{
    const xmlNodePtr node = live();
    if (!isElement(node))
        return {};
    // Identifiers are read for every list entry: find and read them in place.
    for (const xmlAttr *attr = node->properties; attr; attr = attr->next) {
        if (attr->ns || !hasName(reinterpret_cast<const xmlNode *>(attr), name, XML_ATTRIBUTE_NODE))
            continue;
        const xmlNode *value = attr->children;
        if (!value)
            return QString();
        if (value->type == XML_TEXT_NODE && !value->next && value->content)
            return QString::fromUtf8(reinterpret_cast<const char *>(value->content));
        break;
    }
    xmlChar *value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar *>(name.toUtf8().constData()));
    if (!value)
        return {};
    QString result = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return result;
}

// The old value's entry in the ID table goes first and the new value's is
// made here, not by libxml2, which would also enter an element outside the
// document.
void XmlNode::setAttribute(const QString &name, const QString &value)
{
    const xmlNodePtr element = live();
    if (!isElement(element))
        return;
    const QByteArray attrName = name.toUtf8();
    const auto *xmlName = reinterpret_cast<const xmlChar *>(attrName.constData());
    QByteArray bytes = XmlText::toXmlSafeUtf8(value);
    if (IdentifierTable::isDeclaredId(m_data->doc, element, xmlName))
        bytes = IdentifierTable::collapsedSpaces(bytes);
    m_data->noteTreeChange(element);
    IdentifierTable ids(*m_data);
    if (xmlAttrPtr old = plainAttribute(element, attrName))
        ids.leave(old);
    xmlAttrPtr attr = xmlSetNsProp(element, nullptr, xmlName, reinterpret_cast<const xmlChar *>(bytes.constData()));
    if (attr && isInTree(element, m_data->doc))
        ids.enter(attr);
    else if (attr)
        ids.leave(attr);
    ids.handOver();
}

bool XmlNode::isMovable(xmlNodePtr node) const
{
    return isElement(node) && node != xmlDocGetRootElement(m_data->doc);
}

bool XmlNode::appendChild(const XmlNode &child)
{
    const xmlNodePtr parent = live();
    const xmlNodePtr node = child.live();
    if (!isElement(parent) || child.m_data != m_data || !isMovable(node) || isAncestorOrSelf(node, parent))
        return false;
    m_data->noteTreeChange(node);
    const bool wasInDocument = isInTree(node, m_data->doc);
    const bool goesInDocument = isInTree(parent, m_data->doc);
    if (!node->parent)
        takeFromDetached(*m_data, node);
    // xmlAddChild does not detach a node from its old siblings by itself.
    xmlUnlinkNode(node);
    xmlAddChild(parent, node);
    IdentifierTable ids(*m_data);
    if (goesInDocument && !wasInDocument)
        ids.enterSubtree(node);
    else if (wasInDocument && !goesInDocument)
        ids.leaveSubtree(node);
    return true;
}

bool XmlNode::removeChild(const XmlNode &child)
{
    const xmlNodePtr parent = live();
    const xmlNodePtr node = child.live();
    if (!isElement(parent) || !isMovable(node) || node->parent != parent)
        return false;
    m_data->noteTreeChange(node);
    xmlUnlinkNode(node);
    IdentifierTable(*m_data).leaveSubtree(node);
    m_data->detached.push_back(node);
    return true;
}

QString XmlNode::text() const
{
    const xmlNodePtr node = live();
    return node ? textOf(node) : QString();
}

QString XmlNode::textOf(const xmlNode *node)
{
    // Nearly every field holds one text node: read it where it lies.
    const xmlNode *only = node->children;
    if (!only)
        return {};
    if (only->type == XML_TEXT_NODE && !only->next && only->content)
        return QString::fromUtf8(reinterpret_cast<const char *>(only->content));
    xmlChar *content = xmlNodeGetContent(node);
    if (!content)
        return {};
    QString result = QString::fromUtf8(reinterpret_cast<const char *>(content));
    xmlFree(content);
    return result;
}

void XmlNode::setText(const QString &text)
{
    const xmlNodePtr element = live();
    if (!isElement(element))
        return;
    const QByteArray bytes = XmlText::toXmlSafeUtf8(text);
    m_data->noteTextChange(element);
    detachChildElements(element);
    // Set through a text node: xmlNodeSetContent would read "&" as the start
    // of an entity reference.
    xmlNodeSetContent(element, nullptr);
    if (!bytes.isEmpty())
        xmlNodeAddContentLen(element, reinterpret_cast<const xmlChar *>(bytes.constData()), int(bytes.size()));
}

// Elements replaced by text go where removed sub-trees go, since handles
// may still refer to them.
void XmlNode::detachChildElements(xmlNodePtr element)
{
    for (xmlNodePtr child = element->children; child;) {
        const xmlNodePtr next = child->next;
        if (isElement(child)) {
            m_data->noteTreeChange(child);
            xmlUnlinkNode(child);
            IdentifierTable(*m_data).leaveSubtree(child);
            m_data->detached.push_back(child);
        }
        child = next;
    }
}
