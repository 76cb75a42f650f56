#include "store/IdentifierTable.h"

#include "store/ElementWalk.h"
#include "store/XmlDocumentData.h"

#include <libxml/valid.h>

#include <unordered_map>

namespace {

const xmlChar *asXml(const std::string &text)
{
    return reinterpret_cast<const xmlChar *>(text.c_str());
}

} // namespace

IdentifierTable::IdentifierTable(XmlDocumentData &data)
    : m_data(data)
{
}

std::string IdentifierTable::valueOf(xmlAttrPtr attr) const
{
    const xmlNode *only = attr->children;
    if (only && only->type == XML_TEXT_NODE && !only->next && only->content)
        return reinterpret_cast<const char *>(only->content);
    xmlChar *value = xmlNodeListGetString(m_data.doc, attr->children, 1);
    std::string result = value ? reinterpret_cast<const char *>(value) : "";
    xmlFree(value);
    return result;
}

void IdentifierTable::enter(xmlAttrPtr attr)
{
    if (attr->atype == XML_ATTRIBUTE_ID || xmlIsID(m_data.doc, attr->parent, attr) != 1)
        return;
    const std::string value = valueOf(attr);
    if (value.empty())
        return;
    const xmlAttrPtr holder = xmlGetID(m_data.doc, asXml(value));
    if (!holder)
        xmlAddID(nullptr, m_data.doc, asXml(value), attr);
    else if (holder != attr)
        m_data.identifiersCarriedTwice.insert(value);
}

void IdentifierTable::leave(xmlAttrPtr attr)
{
    if (attr->atype != XML_ATTRIBUTE_ID)
        return;
    const bool held = xmlRemoveID(m_data.doc, attr) == 0;
    attr->atype = static_cast<xmlAttributeType>(0);
    if (!held || m_data.identifiersCarriedTwice.empty())
        return;
    std::string value = valueOf(attr);
    if (m_data.identifiersCarriedTwice.count(value))
        m_vacated.push_back(std::move(value));
}

void IdentifierTable::enterSubtree(xmlNodePtr root)
{
    ElementWalk::subtree(root, [this](xmlNodePtr element) {
        for (xmlAttrPtr attr = element->properties; attr; attr = attr->next)
            enter(attr);
    });
}

void IdentifierTable::leaveSubtree(xmlNodePtr root)
{
    ElementWalk::subtree(root, [this](xmlNodePtr element) {
        for (xmlAttrPtr attr = element->properties; attr; attr = attr->next)
            leave(attr);
    });
    handOver();
}

// One walk for all identifiers vacated together. An identifier no longer
// carried twice stops being looked for.
void IdentifierTable::handOver()
{
    if (m_vacated.empty())
        return;
    std::unordered_map<std::string, int> carriers;
    for (const std::string &value : m_vacated)
        carriers.emplace(value, 0);
    m_vacated.clear();
    if (xmlNodePtr root = xmlDocGetRootElement(m_data.doc)) {
        ElementWalk::subtree(root, [&](xmlNodePtr element) {
            for (xmlAttrPtr attr = element->properties; attr; attr = attr->next) {
                const auto found = carriers.find(valueOf(attr));
                if (found == carriers.end() || xmlIsID(m_data.doc, element, attr) != 1)
                    continue;
                ++found->second;
                enter(attr);
            }
        });
    }
    for (const auto &[value, count] : carriers) {
        if (count < 2)
            m_data.identifiersCarriedTwice.erase(value);
    }
}

bool IdentifierTable::isDeclaredId(xmlDocPtr doc, xmlNodePtr element, const xmlChar *name)
{
    xmlAttr probe{};
    probe.type = XML_ATTRIBUTE_NODE;
    probe.name = name;
    probe.parent = element;
    probe.doc = doc;
    return xmlIsID(doc, element, &probe) == 1;
}

QByteArray IdentifierTable::collapsedSpaces(QByteArrayView value)
{
    QByteArray result;
    result.reserve(value.size());
    for (const char c : value) {
        if (c == ' ' && (result.isEmpty() || result.back() == ' '))
            continue;
        result.append(c);
    }
    if (result.endsWith(' '))
        result.chop(1);
    return result;
}
