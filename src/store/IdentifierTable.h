#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <libxml/tree.h>

#include <string>
#include <vector>

struct XmlDocumentData;

// Keeps libxml2's ID table in step with the tree. The table holds the
// identifiers the elements in the document carry, each pointing at one of
// the elements carrying it, and nothing else: an element created and not
// attached, or removed, holds no identifier, so it is never found by
// identifier and its identifier is free to be handed out again.
//
// Two elements in the document may carry one identifier for a while (a new
// SitePin is added before the old one goes). The table points at one of
// them; when that one leaves, another carrier takes over. Looking for it
// walks the document, so that is done only for identifiers known to have
// been carried twice.
class IdentifierTable
{
public:
    explicit IdentifierTable(XmlDocumentData &data);

    // The element carrying the attribute has just joined the document.
    void enter(xmlAttrPtr attr);
    // The element carrying the attribute is leaving, or the attribute's
    // value is about to change. Call handOver() once the tree is settled.
    void leave(xmlAttrPtr attr);
    void enterSubtree(xmlNodePtr root);
    // The sub-tree has been taken out of the document.
    void leaveSubtree(xmlNodePtr root);
    // Gives each identifier that lost its entry to another element in the
    // document still carrying it, if there is one.
    void handOver();

    static bool isDeclaredId(xmlDocPtr doc, xmlNodePtr element, const xmlChar *name);
    // The parser collapses spaces in an identifier and the table looks it up
    // collapsed, so an identifier set in memory is collapsed the same way.
    static QByteArray collapsedSpaces(QByteArrayView value);

private:
    std::string valueOf(xmlAttrPtr attr) const;
    bool isCarriedElsewhere(const std::string &value, xmlAttrPtr attr) const;

    XmlDocumentData &m_data;
    std::vector<std::string> m_vacated;
};
