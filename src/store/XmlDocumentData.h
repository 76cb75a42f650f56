#pragma once

#include <QString>

#include <libxml/tree.h>

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

// Shared by a document and every node handle taken from it, so that a handle
// kept past File > Open still points at live memory.
struct XmlDocumentData
{
    static constexpr size_t kMostChanges = 4096;

    // One element whose text changed, or one element placed in or taken out
    // of a tree (with everything below it).
    struct Change
    {
        std::uint64_t revision;
        xmlNodePtr node;
        bool textOnly;
    };

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
    // Every change after revision changesFrom: a copy of the texts taken
    // since then can be brought up to date from these elements. A load, or
    // more changes than are worth replaying, empties the list.
    std::vector<Change> changes;
    std::uint64_t changesFrom = 0;
    // Counts the trees this object has held: a handle taken from an earlier
    // tree (before a load into the same object) reads as a null handle
    // instead of freed memory.
    std::uint64_t generation = 0;
    // Identifiers that more than one element in the document has carried
    // (see IdentifierTable).
    std::unordered_set<std::string> identifiersCarriedTwice;

    XmlDocumentData() = default;
    XmlDocumentData(const XmlDocumentData &) = delete;
    XmlDocumentData &operator=(const XmlDocumentData &) = delete;
    ~XmlDocumentData() { freeTree(); }

    void noteTextChange(xmlNodePtr element) { noteChange(element, true); }
    void noteTreeChange(xmlNodePtr node) { noteChange(node, false); }

    void noteOtherChange()
    {
        ++revision;
        changes.clear();
        changesFrom = revision;
    }

    // A long run of edits is cheaper to read afresh than to replay.
    void noteChange(xmlNodePtr node, bool textOnly)
    {
        if (changes.size() == kMostChanges) {
            noteOtherChange();
            return;
        }
        ++revision;
        changes.push_back({revision, node, textOnly});
    }

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
        identifiersCarriedTwice.clear();
        ++generation;
    }
};
