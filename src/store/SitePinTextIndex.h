#pragma once

#include "store/XmlNode.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class XmlDocument;
struct XmlDocumentData;

// The field texts of every SitePin, copied into one block with ASCII letters
// in lower case, so that a search for an ASCII term, or for the favourites,
// scans contiguous memory instead of chasing the document's nodes. The copy
// is brought up to date whenever the document has changed since: SitePins
// whose texts alone changed are copied again, and anything else means
// copying everything again.
class SitePinTextIndex
{
public:
    enum class Field
    {
        Any,
        Name,
        Address,
        Notes
    };

    struct FieldText
    {
        XmlNode sitePin;
        // ASCII letters in lower case; empty when the SitePin lacks the field.
        QByteArrayView text;
    };

    // The SitePins, in document order, where the field (any child element's
    // text for Field::Any) contains the term, ASCII letters compared without
    // regard to case. The term must be non-empty ASCII in lower case without
    // zero characters. A SitePin holding one of the few other characters that
    // case folding turns into ASCII letters is not decided here but by
    // `decide`.
    std::vector<XmlNode> find(const XmlDocument &dom, QByteArrayView lowerAsciiTerm, Field field,
                              const std::function<bool(const XmlNode &sitePin)> &decide);
    // The SitePins, in document order, where the field (any child element
    // for Field::Any) holds any text at all: what an empty term finds.
    std::vector<XmlNode> findWithText(const XmlDocument &dom, Field field);
    // The SitePins, in document order, whose FAV field reads "TRUE" in any
    // case.
    std::vector<XmlNode> favourites(const XmlDocument &dom);
    // Every SitePin, in document order, with the text of its first element
    // of a named field (not Field::Any). The texts stay valid until the next
    // call on this copy.
    std::vector<FieldText> fieldTexts(const XmlDocument &dom, Field field);
    // Lets go of the copy, for when the document goes.
    void clear();

private:
    void refresh(const std::shared_ptr<XmlDocumentData> &data);
    void add(const XmlNode &sitePin);
    bool catchUp(const XmlDocumentData &data);
    qsizetype sitePinHolding(const _xmlNode *element) const;
    void replaceTexts(qsizetype sitePin);
    void findUndecided();
    std::vector<char> markMatches(QByteArrayView lowerAsciiTerm, Field field) const;
    qsizetype sitePinAt(qsizetype offset) const;
    bool isInField(qsizetype offset, qsizetype sitePin, Field field) const;
    bool hasText(size_t sitePin, Field field) const;

    std::weak_ptr<XmlDocumentData> m_document;
    std::uint64_t m_revision = 0;
    // Each child element's text followed by a zero; SitePins one after another.
    QByteArray m_text;
    std::vector<_xmlNode *> m_sitePins;
    // Where each SitePin's texts start, and one more entry for the end.
    std::vector<qsizetype> m_begin;
    // Where the SitePin's first NAME, ADDRESS, NOTES and FAV texts start,
    // or -1.
    std::vector<qsizetype> m_fieldBegin[4];
    std::vector<qsizetype> m_undecided;
};
