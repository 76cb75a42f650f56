#pragma once

#include <QString>

#include <libxml/tree.h>

#include <vector>

// Shared by a document and every node handle taken from it, so that a handle
// kept past File > Open still points at live memory.
struct XmlDocumentData
{
    xmlDocPtr doc = nullptr;
    // Removed sub-trees stay allocated until the document goes, because a
    // handle (a drag in progress, a list entry) may still refer to them.
    std::vector<xmlNodePtr> detached;
    QString parseErrorReason;
    // The declaration as the file had it, written back unchanged on save.
    QByteArray originalDoctype;

    XmlDocumentData() = default;
    XmlDocumentData(const XmlDocumentData &) = delete;
    XmlDocumentData &operator=(const XmlDocumentData &) = delete;
    ~XmlDocumentData()
    {
        for (xmlNodePtr node : detached)
            xmlFreeNode(node);
        if (doc)
            xmlFreeDoc(doc);
    }
};
