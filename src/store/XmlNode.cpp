#include "store/XmlNode.h"

#include "store/XmlDocument.h"
#include "store/XmlDocumentData.h"
#include "store/XmlText.h"

#include <libxml/tree.h>
#include <libxml/valid.h>

namespace {

bool isElement(const xmlNode *node)
{
    return node && node->type == XML_ELEMENT_NODE;
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

// Visits the elements below `root` in document order, without recursion so
// that very deep trees cannot exhaust the stack. The visitor says whether to
// look inside the element it was given.
template<typename Visit>
void walkDescendantElements(xmlNodePtr root, Visit visit)
{
    xmlNodePtr node = root->children;
    while (node && node != root) {
        const bool descend = isElement(node) && visit(node);
        if (descend && node->children) {
            node = node->children;
            continue;
        }
        while (node != root && !node->next)
            node = node->parent;
        if (node == root)
            break;
        node = node->next;
    }
}

template<typename Visit>
void forEachDescendantElement(xmlNodePtr root, Visit visit)
{
    walkDescendantElements(root, [&visit](xmlNodePtr element) {
        visit(element);
        return true;
    });
}

bool isAncestorOrSelf(xmlNodePtr candidate, xmlNodePtr node)
{
    for (xmlNodePtr walk = node; walk; walk = walk->parent) {
        if (walk == candidate)
            return true;
    }
    return false;
}

template<typename Visit>
void forEachElementInSubtree(xmlNodePtr subtreeRoot, Visit visit)
{
    visit(subtreeRoot);
    forEachDescendantElement(subtreeRoot, visit);
}

void rememberIdentifiers(xmlDocPtr doc, xmlNodePtr subtreeRoot)
{
    forEachElementInSubtree(subtreeRoot, [doc](xmlNodePtr element) {
        for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
            if (attr->atype == XML_ATTRIBUTE_ID || xmlIsID(doc, element, attr) != 1)
                continue;
            xmlChar *value = xmlNodeListGetString(doc, attr->children, 1);
            if (value) {
                xmlAddID(nullptr, doc, value, attr);
                xmlFree(value);
            }
        }
    });
}

bool takeFromDetached(XmlDocumentData &data, xmlNodePtr node)
{
    for (auto it = data.detached.rbegin(); it != data.detached.rend(); ++it) {
        if (*it == node) {
            data.detached.erase(std::next(it).base());
            return true;
        }
    }
    return false;
}

void forgetIdentifiers(xmlDocPtr doc, xmlNodePtr subtreeRoot)
{
    forEachElementInSubtree(subtreeRoot, [doc](xmlNodePtr element) {
        for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
            if (attr->atype == XML_ATTRIBUTE_ID) {
                xmlRemoveID(doc, attr);
                attr->atype = static_cast<xmlAttributeType>(0);
            }
        }
    });
}

} // namespace

XmlNode::XmlNode(std::shared_ptr<XmlDocumentData> data, xmlNode *node)
    : m_data(std::move(data))
    , m_node(node)
{
}

QString XmlNode::nodeName() const
{
    if (!m_node || !m_node->name)
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(m_node->name));
}

XmlNode XmlNode::parentNode() const
{
    if (!m_node || !m_node->parent)
        return {};
    return XmlNode(m_data, m_node->parent);
}

XmlDocument XmlNode::ownerDocument() const
{
    return XmlDocument(m_data);
}

bool XmlNode::isInDocument() const
{
    if (!m_node || !m_data || !m_data->doc)
        return false;
    xmlNodePtr walk = m_node;
    while (walk->parent)
        walk = walk->parent;
    return walk == reinterpret_cast<xmlNodePtr>(m_data->doc);
}

XmlNode XmlNode::selectSingleNode(const QString &name) const
{
    if (!m_node)
        return {};
    for (xmlNodePtr child = m_node->children; child; child = child->next) {
        if (hasName(child, name))
            return XmlNode(m_data, child);
    }
    return {};
}

std::vector<XmlNode> XmlNode::childElements() const
{
    std::vector<XmlNode> result;
    if (!m_node)
        return result;
    for (xmlNodePtr child = m_node->children; child; child = child->next) {
        if (isElement(child))
            result.emplace_back(m_data, child);
    }
    return result;
}

XmlNode XmlNode::firstChildElement() const
{
    if (!m_node)
        return {};
    for (xmlNodePtr child = m_node->children; child; child = child->next) {
        if (isElement(child))
            return XmlNode(m_data, child);
    }
    return {};
}

XmlNode XmlNode::nextSiblingElement() const
{
    if (!m_node)
        return {};
    for (xmlNodePtr sibling = m_node->next; sibling; sibling = sibling->next) {
        if (isElement(sibling))
            return XmlNode(m_data, sibling);
    }
    return {};
}

std::vector<XmlNode> XmlNode::getElementsByTagName(const QString &name) const
{
    std::vector<XmlNode> result;
    if (!m_node)
        return result;
    const QByteArray wanted = name.toUtf8();
    forEachDescendantElement(m_node, [&](xmlNodePtr element) {
        if (hasUtf8Name(element, wanted))
            result.emplace_back(m_data, element);
    });
    return result;
}

void XmlNode::forEachOutermostElementByTagName(const QString &name,
                                               const std::function<void(const XmlNode &)> &visit) const
{
    if (!m_node)
        return;
    const QByteArray wanted = name.toUtf8();
    walkDescendantElements(m_node, [&](xmlNodePtr element) {
        if (!hasUtf8Name(element, wanted))
            return true;
        visit(XmlNode(m_data, element));
        return false;
    });
}

int XmlNode::countElementsByTagName(const QString &name) const
{
    int count = 0;
    if (!m_node)
        return count;
    const QByteArray wanted = name.toUtf8();
    forEachDescendantElement(m_node, [&](xmlNodePtr element) {
        if (hasUtf8Name(element, wanted))
            ++count;
    });
    return count;
}

bool XmlNode::hasAttributes() const
{
    return isElement(m_node) && m_node->properties != nullptr;
}

QString XmlNode::getAttribute(const QString &name) const
{
    if (!isElement(m_node))
        return {};
    // Identifiers are read for every list entry: find and read them in place.
    for (const xmlAttr *attr = m_node->properties; attr; attr = attr->next) {
        if (attr->ns || !hasName(reinterpret_cast<const xmlNode *>(attr), name, XML_ATTRIBUTE_NODE))
            continue;
        const xmlNode *value = attr->children;
        if (!value)
            return QString();
        if (value->type == XML_TEXT_NODE && !value->next && value->content)
            return QString::fromUtf8(reinterpret_cast<const char *>(value->content));
        break;
    }
    xmlChar *value = xmlGetNoNsProp(m_node, reinterpret_cast<const xmlChar *>(name.toUtf8().constData()));
    if (!value)
        return {};
    QString result = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return result;
}

void XmlNode::setAttribute(const QString &name, const QString &value)
{
    if (!isElement(m_node))
        return;
    const QByteArray bytes = XmlText::toXmlSafeUtf8(value);
    noteOtherChange();
    // xmlSetProp enters attributes the document type declares as ID into the
    // document's ID table, so a new element is found by nodeFromID at once.
    xmlSetProp(m_node, reinterpret_cast<const xmlChar *>(name.toUtf8().constData()),
               reinterpret_cast<const xmlChar *>(bytes.constData()));
}

bool XmlNode::appendChild(const XmlNode &child)
{
    if (!isElement(m_node))
        return false;
    if (!child.m_node || child.m_data != m_data)
        return false;
    if (isAncestorOrSelf(child.m_node, m_node))
        return false;
    noteOtherChange();
    const bool wasRemoved = takeFromDetached(*m_data, child.m_node);
    // xmlAddChild does not detach a node from its old siblings by itself.
    xmlUnlinkNode(child.m_node);
    xmlAddChild(m_node, child.m_node);
    if (wasRemoved)
        rememberIdentifiers(m_data->doc, child.m_node);
    return true;
}

bool XmlNode::removeChild(const XmlNode &child)
{
    if (!m_node || !child.m_node || child.m_node->parent != m_node)
        return false;
    noteOtherChange();
    xmlUnlinkNode(child.m_node);
    forgetIdentifiers(m_data->doc, child.m_node);
    m_data->detached.push_back(child.m_node);
    return true;
}

QString XmlNode::text() const
{
    if (!m_node)
        return {};
    // Nearly every field holds one text node: read it where it lies.
    const xmlNode *only = m_node->children;
    if (!only)
        return {};
    if (only->type == XML_TEXT_NODE && !only->next && only->content)
        return QString::fromUtf8(reinterpret_cast<const char *>(only->content));
    xmlChar *content = xmlNodeGetContent(m_node);
    if (!content)
        return {};
    QString result = QString::fromUtf8(reinterpret_cast<const char *>(content));
    xmlFree(content);
    return result;
}

void XmlNode::setText(const QString &text)
{
    if (!isElement(m_node))
        return;
    const QByteArray bytes = XmlText::toXmlSafeUtf8(text);
    noteTextChange();
    detachChildElements();
    // Set through a text node: xmlNodeSetContent would read "&" as the start
    // of an entity reference.
    xmlNodeSetContent(m_node, nullptr);
    if (!bytes.isEmpty())
        xmlNodeAddContentLen(m_node, reinterpret_cast<const xmlChar *>(bytes.constData()), int(bytes.size()));
}

// Elements replaced by text go where removed sub-trees go, since handles
// may still refer to them.
void XmlNode::detachChildElements()
{
    if (!m_data)
        return;
    for (xmlNodePtr child = m_node->children; child;) {
        const xmlNodePtr next = child->next;
        if (isElement(child)) {
            xmlUnlinkNode(child);
            forgetIdentifiers(m_data->doc, child);
            m_data->detached.push_back(child);
        }
        child = next;
    }
}

// Replacing elements below the node changes more than text.
void XmlNode::noteTextChange() const
{
    if (!m_data)
        return;
    for (const xmlNode *child = m_node->children; child; child = child->next) {
        if (isElement(child)) {
            m_data->noteOtherChange();
            return;
        }
    }
    m_data->noteTextChange(m_node);
}

void XmlNode::noteOtherChange() const
{
    if (m_data)
        m_data->noteOtherChange();
}
