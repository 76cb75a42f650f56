#pragma once

#include "store/SaveResult.h"
#include "store/XmlNode.h"

#include <QString>

#include <memory>

struct XmlDocumentData;

// The library document: a shared handle, so every holder works on the one
// in-memory document. A default-constructed handle is "no document at all";
// XmlDocument::create() gives a document object that holds nothing yet.
class XmlDocument
{
public:
    XmlDocument() = default;
    static XmlDocument create();

    bool isNull() const { return !m_data; }
    // No root element: nothing loaded, or the last load failed.
    bool isEmpty() const;
    bool operator==(const XmlDocument &other) const { return m_data == other.m_data; }

    // Parses the file with its document type definition read from local files
    // only, without validation, dropping blank text between elements. An
    // external definition that cannot be loaded is a failure. On failure the
    // document is left empty and parseErrorReason() says why. Node handles
    // taken from the document before (through any copy of this handle) read
    // as null handles from then on.
    // `locatedAs`, when given, is where the file counts as being for the
    // definition files it names by relative path: a copy read as though it
    // were the library it was copied from.
    bool load(const QString &path, const QString &locatedAs = QString());
    QString parseErrorReason() const;

    XmlNode documentElement() const;
    // On the document, only the root element can be selected by name.
    XmlNode selectSingleNode(const QString &name) const;
    XmlNode createElement(const QString &name);
    // The element in the document carrying this identifier, through the
    // document's ID table; never an element outside the document.
    XmlNode nodeFromID(const QString &id) const;

    // Writes the whole document, declaration included, atomically. A file
    // marked read-only is left as it is and the save fails.
    SaveResult save(const QString &path) const;
    QByteArray serialize() const;

private:
    explicit XmlDocument(std::shared_ptr<XmlDocumentData> data);
    friend class XmlNode;
    friend class SitePinTextIndex;

    std::shared_ptr<XmlDocumentData> m_data;
};
