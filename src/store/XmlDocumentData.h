#pragma once

#include <QString>

#include <libxml/tree.h>

#include <cstdint>
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
    // Counts changes to the tree and its texts, so that copies taken from it
    // know when they are out of date.
    std::uint64_t revision = 0;

    XmlDocumentData() = default;
    XmlDocumentData(const XmlDocumentData &) = delete;
    XmlDocumentData &operator=(const XmlDocumentData &) = delete;
    ~XmlDocumentData() { freeTree(); }

    // Removed sub-trees go first: freeing them reads the document's name
    // dictionary.
    void freeTree()
    {
        for (xmlNodePtr node : detached)
            xmlFreeNode(node);
        detached.clear();
        if (doc)
            xmlFreeDoc(doc);
        doc = nullptr;
    }
};
