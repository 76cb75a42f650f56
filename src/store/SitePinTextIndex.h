#pragma once

#include "store/SitePinRow.h"
#include "store/XmlNode.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class XmlDocument;
struct XmlDocumentData;

// The field texts of every SitePin, copied into one block with ASCII letters
// in lower case, so that a search for an ASCII term, or for the favourites,
// scans contiguous memory instead of chasing the document's nodes. The copy
// is brought up to date whenever the document has changed since: SitePins
// whose texts changed are copied again, added ones are copied at the end,
// removed ones are dropped from the order and moved ones take their new
// place in it. Only a new document, a long run of changes or much removed
// text mean copying everything again.
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

    // The SitePins found are given as the rows a list shows of them, kept
    // here with the texts so that filling a list of thousands reads none of
    // the document.
    //
    // The SitePins, in document order, where the field (any child element's
    // text for Field::Any) contains the term, ASCII letters compared without
    // regard to case. The term must be non-empty ASCII in lower case without
    // zero characters. A SitePin holding one of the few other characters that
    // case folding turns into ASCII letters is not decided here but by
    // `decide`.
    std::vector<SitePinRow> find(const XmlDocument &dom, QByteArrayView lowerAsciiTerm, Field field,
                                 const std::function<bool(const XmlNode &sitePin)> &decide);
    // The SitePins, in document order, where the field (any child element
    // for Field::Any) holds any text at all: what an empty term finds.
    std::vector<SitePinRow> findWithText(const XmlDocument &dom, Field field);
    // The SitePins, in document order, whose FAV field reads "TRUE" in any
    // case.
    std::vector<SitePinRow> favourites(const XmlDocument &dom);
    // The outermost SitePins within the folder's SITEPINS, in document order.
    std::vector<SitePinRow> rowsInFolder(const XmlDocument &dom, const XmlNode &folder);
    // Every SitePin, in document order, with the text of its first element
    // of a named field (not Field::Any). The texts stay valid until the next
    // call on this copy.
    std::vector<FieldText> fieldTexts(const XmlDocument &dom, Field field);
    // Lets go of the copy, for when the document goes.
    void clear();
    // How often the copy has been taken afresh.
    int rebuilds() const { return m_rebuilds; }

private:
    using Slots = std::vector<qsizetype>;

    void refresh(const std::shared_ptr<XmlDocumentData> &data);
    qsizetype add(_xmlNode *sitePin);
    bool catchUp(const XmlDocumentData &data);
    bool placeAgain(const std::vector<const _xmlNode *> &touched, Slots &added);
    bool collectGroup(const _xmlNode *anchor, const std::unordered_set<const _xmlNode *> &touched, Slots &group,
                      Slots &added);
    qsizetype slotOf(const _xmlNode *sitePin) const;
    bool isListed(const _xmlNode *sitePin, const std::unordered_set<const _xmlNode *> &touched) const;
    bool tooMuchRemovedText() const;
    void replaceTexts(qsizetype sitePin);
    void findUndecided();
    std::vector<char> markMatches(QByteArrayView lowerAsciiTerm, Field field) const;
    qsizetype sitePinAt(qsizetype offset) const;
    bool isInField(qsizetype offset, qsizetype sitePin, Field field) const;
    bool hasText(size_t sitePin, Field field) const;
    template<typename IsFound>
    std::vector<SitePinRow> rowsWhere(IsFound isFound) const;

    std::weak_ptr<XmlDocumentData> m_document;
    std::uint64_t m_revision = 0;
    int m_rebuilds = 0;
    // Each child element's text followed by a zero; SitePins one after
    // another in the order they were copied (a slot each), removed ones
    // included.
    QByteArray m_text;
    std::vector<_xmlNode *> m_sitePins;
    std::vector<SitePinRow> m_rows;
    std::unordered_map<const _xmlNode *, qsizetype> m_slots;
    // The slots of the SitePins in the document, in document order.
    Slots m_order;
    std::vector<char> m_listed;
    // Where each SitePin's texts start, and one more entry for the end.
    std::vector<qsizetype> m_begin;
    // Where the SitePin's first NAME, ADDRESS, NOTES and FAV texts start,
    // or -1.
    std::vector<qsizetype> m_fieldBegin[4];
    std::vector<qsizetype> m_undecided;
};
