#include "store/SitePinTextIndex.h"

#include "store/ElementWalk.h"
#include "store/XmlDocument.h"
#include "store/XmlDocumentData.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

constexpr const char *kFieldNames[] = {"NAME", "ADDRESS", "NOTES", "FAV"};
constexpr int kFavourite = 3;
using FieldBegins = qsizetype[std::size(kFieldNames)];

// U+017F (folds onto "s") and U+212A (onto "k") in UTF-8: the only
// characters outside ASCII that case folding turns into ASCII letters.
constexpr QByteArrayView kFoldingOntoAscii[] = {"\xC5\xBF", "\xE2\x84\xAA"};

constexpr std::uint64_t everyByte(std::uint8_t value)
{
    return 0x0101010101010101ULL * value;
}

// Eight bytes at a time: a byte is an upper-case ASCII letter when its high
// bit is clear and its low seven bits lie from 'A' to 'Z'.
std::uint64_t lowerAsciiLetters(std::uint64_t bytes)
{
    const std::uint64_t low7 = bytes & everyByte(0x7F);
    const std::uint64_t atLeastA = low7 + everyByte(0x80 - 'A');
    const std::uint64_t aboveZ = low7 + everyByte(0x7F - 'Z');
    const std::uint64_t isUpper = atLeastA & ~aboveZ & ~bytes & everyByte(0x80);
    return bytes | (isUpper >> 2);
}

// Appends the zero-terminated text with ASCII letters in lower case.
void appendLowered(QByteArray &out, const unsigned char *text)
{
    const qsizetype length = qsizetype(std::strlen(reinterpret_cast<const char *>(text)));
    const qsizetype start = out.size();
    out.resize(start + length);
    char *to = out.data() + start;
    qsizetype i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text + i, 8);
        bytes = lowerAsciiLetters(bytes);
        std::memcpy(to + i, &bytes, 8);
    }
    for (; i < length; ++i) {
        const unsigned char c = text[i];
        to[i] = char(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
}

// A SitePin without fields has no texts, and memmem must not be given the
// null pointer of an empty view.
bool holdsCharacterFoldingOntoAscii(QByteArrayView texts)
{
    if (texts.isEmpty())
        return false;
    for (const QByteArrayView character : kFoldingOntoAscii) {
        if (memmem(texts.data(), size_t(texts.size()), character.data(), size_t(character.size())))
            return true;
    }
    return false;
}

// The element's text as XmlNode::text() reads it, and a zero.
void appendElementText(QByteArray &out, const xmlNode *element)
{
    const xmlNode *only = element->children;
    if (only && only->type == XML_TEXT_NODE && !only->next && only->content) {
        appendLowered(out, only->content);
    } else if (only) {
        xmlChar *content = xmlNodeGetContent(element);
        if (content)
            appendLowered(out, content);
        xmlFree(content);
    }
    out.append('\0');
}

// Every child element's text; `begins` receives where the first of each
// named field starts in `out`, or -1.
void appendSitePinTexts(QByteArray &out, const xmlNode *sitePin, FieldBegins &begins)
{
    std::fill(std::begin(begins), std::end(begins), -1);
    for (const xmlNode *child = sitePin->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        for (size_t f = 0; f < std::size(kFieldNames); ++f) {
            if (begins[f] < 0 && xmlStrEqual(child->name, reinterpret_cast<const xmlChar *>(kFieldNames[f])))
                begins[f] = out.size();
        }
        appendElementText(out, child);
    }
}

bool isSitePin(const xmlNode *node)
{
    return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, reinterpret_cast<const xmlChar *>("SITEPIN"));
}

const xmlNode *outermostSitePinAbove(const xmlNode *node)
{
    const xmlNode *outermost = nullptr;
    for (const xmlNode *walk = node; walk; walk = walk->parent) {
        if (isSitePin(walk))
            outermost = walk;
    }
    return outermost;
}

bool isInDocument(const xmlNode *node)
{
    while (node->parent)
        node = node->parent;
    return node->type == XML_DOCUMENT_NODE;
}

const xmlNode *firstChildElement(const xmlNode *node)
{
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE)
            return child;
    }
    return nullptr;
}

const xmlNode *lastChildElement(const xmlNode *node)
{
    for (const xmlNode *child = node->last; child; child = child->prev) {
        if (child->type == XML_ELEMENT_NODE)
            return child;
    }
    return nullptr;
}

const xmlNode *siblingElement(const xmlNode *node, bool forward)
{
    for (const xmlNode *walk = forward ? node->next : node->prev; walk; walk = forward ? walk->next : walk->prev) {
        if (walk->type == XML_ELEMENT_NODE)
            return walk;
    }
    return nullptr;
}

// The walks below go through the elements in document order without
// entering a SitePin, and end at the document element.
const xmlNode *nextElement(const xmlNode *node)
{
    if (!isSitePin(node)) {
        if (const xmlNode *child = firstChildElement(node))
            return child;
    }
    for (; node && node->type == XML_ELEMENT_NODE; node = node->parent) {
        if (node->parent && node->parent->type == XML_DOCUMENT_NODE)
            return nullptr;
        if (const xmlNode *next = siblingElement(node, true))
            return next;
    }
    return nullptr;
}

const xmlNode *previousElement(const xmlNode *node)
{
    if (node->parent && node->parent->type == XML_DOCUMENT_NODE)
        return nullptr;
    const xmlNode *previous = siblingElement(node, false);
    if (!previous)
        return node->parent && node->parent->type == XML_ELEMENT_NODE ? node->parent : nullptr;
    while (!isSitePin(previous)) {
        const xmlNode *last = lastChildElement(previous);
        if (!last)
            break;
        previous = last;
    }
    return previous;
}

const xmlNode *documentElementAbove(const xmlNode *node)
{
    while (node->parent && node->parent->type != XML_DOCUMENT_NODE)
        node = node->parent;
    return node;
}

template<typename Visit>
void forEachOutermostSitePin(const xmlNode *node, Visit visit)
{
    if (isSitePin(node)) {
        visit(node);
        return;
    }
    for (const xmlNode *child = firstChildElement(node); child; child = siblingElement(child, true))
        forEachOutermostSitePin(child, visit);
}

} // namespace

template<typename IsFound>
std::vector<SitePinRow> SitePinTextIndex::rowsWhere(IsFound isFound) const
{
    std::vector<SitePinRow> rows;
    for (const qsizetype sitePin : m_order) {
        if (isFound(size_t(sitePin)))
            rows.push_back(m_rows[size_t(sitePin)]);
    }
    return rows;
}

std::vector<SitePinRow> SitePinTextIndex::find(const XmlDocument &dom, QByteArrayView lowerAsciiTerm, Field field,
                                               const std::function<bool(const XmlNode &sitePin)> &decide)
{
    if (dom.isEmpty() || lowerAsciiTerm.isEmpty())
        return {};
    refresh(dom.m_data);
    std::vector<char> isHit = markMatches(lowerAsciiTerm, field);
    for (const qsizetype sitePin : m_undecided) {
        if (m_listed[size_t(sitePin)])
            isHit[size_t(sitePin)] = decide(XmlNode(dom.m_data, m_sitePins[size_t(sitePin)])) ? 1 : 0;
    }
    return rowsWhere([&isHit](size_t sitePin) { return isHit[sitePin] != 0; });
}

// After a match the scan goes on at the next SitePin, or at the next text
// when the match was not in the field searched.
std::vector<char> SitePinTextIndex::markMatches(QByteArrayView lowerAsciiTerm, Field field) const
{
    std::vector<char> isHit(m_sitePins.size(), 0);
    const char *text = m_text.constData();
    const qsizetype end = m_text.size();
    qsizetype from = 0;
    while (from < end) {
        const void *match =
            memmem(text + from, size_t(end - from), lowerAsciiTerm.data(), size_t(lowerAsciiTerm.size()));
        if (!match)
            break;
        const qsizetype offset = static_cast<const char *>(match) - text;
        const qsizetype sitePin = sitePinAt(offset);
        if (field == Field::Any || isInField(offset, sitePin, field)) {
            isHit[size_t(sitePin)] = 1;
            from = m_begin[size_t(sitePin) + 1];
        } else {
            from = offset + qsizetype(std::strlen(text + offset)) + 1;
        }
    }
    return isHit;
}

std::vector<SitePinRow> SitePinTextIndex::findWithText(const XmlDocument &dom, Field field)
{
    if (dom.isEmpty())
        return {};
    refresh(dom.m_data);
    return rowsWhere([this, field](size_t sitePin) { return hasText(sitePin, field); });
}

// Each text is followed by a zero, so any other byte in the SitePin's
// block is text.
bool SitePinTextIndex::hasText(size_t sitePin, Field field) const
{
    const char *text = m_text.constData();
    if (field != Field::Any) {
        const qsizetype begin = m_fieldBegin[int(field) - 1][sitePin];
        return begin >= 0 && text[begin] != 0;
    }
    for (qsizetype at = m_begin[sitePin]; at < m_begin[sitePin + 1]; ++at) {
        if (text[at] != 0)
            return true;
    }
    return false;
}

std::vector<SitePinRow> SitePinTextIndex::favourites(const XmlDocument &dom)
{
    if (dom.isEmpty())
        return {};
    refresh(dom.m_data);
    // Only ASCII letters fold onto "true", and they are lowered here.
    return rowsWhere([this, &flags = m_fieldBegin[kFavourite]](size_t sitePin) {
        return flags[sitePin] >= 0 && std::strcmp(m_text.constData() + flags[sitePin], "true") == 0;
    });
}

std::vector<SitePinRow> SitePinTextIndex::rowsInFolder(const XmlDocument &dom, const XmlNode &folder)
{
    std::vector<SitePinRow> rows;
    xmlNode *sitePins = folder.selectSingleNode(QStringLiteral("SITEPINS")).live();
    if (dom.isEmpty() || !sitePins)
        return rows;
    refresh(dom.m_data);
    ElementWalk::pruned(sitePins, [this, &rows](const xmlNode *element) {
        if (!isSitePin(element))
            return true;
        const qsizetype slot = slotOf(element);
        rows.push_back(slot >= 0 ? m_rows[size_t(slot)] : SitePinRow::of(element));
        return false;
    });
    return rows;
}

std::vector<SitePinTextIndex::FieldText> SitePinTextIndex::fieldTexts(const XmlDocument &dom, Field field)
{
    std::vector<FieldText> result;
    if (dom.isEmpty() || field == Field::Any)
        return result;
    refresh(dom.m_data);
    const std::vector<qsizetype> &begins = m_fieldBegin[int(field) - 1];
    result.reserve(m_order.size());
    for (const qsizetype sitePin : m_order) {
        const qsizetype begin = begins[size_t(sitePin)];
        const char *text = begin < 0 ? "" : m_text.constData() + begin;
        result.push_back(
            {XmlNode(dom.m_data, m_sitePins[size_t(sitePin)]), QByteArrayView(text, qsizetype(std::strlen(text)))});
    }
    return result;
}

void SitePinTextIndex::clear()
{
    m_document.reset();
    m_text = QByteArray();
    m_sitePins = {};
    m_rows = {};
    m_slots = {};
    m_order = {};
    m_listed = {};
    m_begin = {0};
    for (auto &begins : m_fieldBegin)
        begins = {};
    m_undecided = {};
}

void SitePinTextIndex::refresh(const std::shared_ptr<XmlDocumentData> &data)
{
    if (m_document.lock() == data && (m_revision == data->revision || catchUp(*data)))
        return;
    const qsizetype lastSize = m_text.size();
    clear();
    ++m_rebuilds;
    m_text.reserve(lastSize + lastSize / 8);
    m_document = data;
    m_revision = data->revision;
    XmlDocument(data).documentElement().forEachOutermostElementByTagName(
        QStringLiteral("SITEPIN"), [this](const XmlNode &sitePin) { m_order.push_back(add(sitePin.m_node)); });
    findUndecided();
}

// Lowering letters leaves other characters as they were.
void SitePinTextIndex::findUndecided()
{
    std::vector<char> isUndecided(m_sitePins.size(), 0);
    const char *text = m_text.constData();
    const qsizetype end = m_text.size();
    for (const QByteArrayView character : kFoldingOntoAscii) {
        // memchr is far quicker than memmem for so short a needle.
        qsizetype from = 0;
        while (const void *lead = std::memchr(text + from, character.front(), size_t(end - from))) {
            const qsizetype offset = static_cast<const char *>(lead) - text;
            from = offset + 1;
            if (QByteArrayView(text + offset, end - offset).startsWith(character)) {
                const qsizetype sitePin = sitePinAt(offset);
                isUndecided[size_t(sitePin)] = 1;
                from = m_begin[size_t(sitePin) + 1];
            }
        }
    }
    for (size_t i = 0; i < isUndecided.size(); ++i) {
        if (isUndecided[i])
            m_undecided.push_back(qsizetype(i));
    }
}

// The new slot's texts go at the end; it is listed but not yet placed in
// the order.
qsizetype SitePinTextIndex::add(xmlNode *sitePin)
{
    static_assert(std::extent_v<decltype(m_fieldBegin)> == std::size(kFieldNames));
    const qsizetype slot = qsizetype(m_sitePins.size());
    m_sitePins.push_back(sitePin);
    m_rows.push_back(SitePinRow::of(sitePin));
    m_slots.emplace(sitePin, slot);
    m_listed.push_back(1);
    FieldBegins begins;
    appendSitePinTexts(m_text, sitePin, begins);
    m_begin.push_back(m_text.size());
    for (size_t f = 0; f < std::size(begins); ++f)
        m_fieldBegin[f].push_back(begins[f]);
    return slot;
}

// The SitePin's texts are taken again and the texts after them move by the
// difference in length.
void SitePinTextIndex::replaceTexts(qsizetype sitePin)
{
    const size_t index = size_t(sitePin);
    m_rows[index] = SitePinRow::of(m_sitePins[index]);
    QByteArray texts;
    FieldBegins begins;
    appendSitePinTexts(texts, m_sitePins[index], begins);
    const qsizetype begin = m_begin[index];
    const qsizetype oldLength = m_begin[index + 1] - begin;
    const qsizetype shift = texts.size() - oldLength;
    m_text.replace(begin, oldLength, texts);
    for (size_t i = index + 1; i < m_begin.size(); ++i)
        m_begin[i] += shift;
    for (size_t f = 0; f < std::size(begins); ++f) {
        std::vector<qsizetype> &fieldBegins = m_fieldBegin[f];
        fieldBegins[index] = begins[f] < 0 ? -1 : begin + begins[f];
        for (size_t i = index + 1; i < fieldBegins.size(); ++i) {
            if (fieldBegins[i] >= 0)
                fieldBegins[i] += shift;
        }
    }
    const auto undecided = std::lower_bound(m_undecided.begin(), m_undecided.end(), sitePin);
    const bool wasUndecided = undecided != m_undecided.end() && *undecided == sitePin;
    const bool isUndecided = holdsCharacterFoldingOntoAscii(texts);
    if (isUndecided && !wasUndecided)
        m_undecided.insert(undecided, sitePin);
    else if (!isUndecided && wasUndecided)
        m_undecided.erase(undecided);
}

// Replays the changes since the copy: an element changed within a SitePin
// has that SitePin's texts copied again; a sub-tree placed or removed has
// every SitePin in it taken out of the order and, where it is still in the
// document, put back at its place there.
bool SitePinTextIndex::catchUp(const XmlDocumentData &data)
{
    if (m_revision < data.changesFrom)
        return false;
    Slots changed;
    std::vector<const xmlNode *> touched;
    std::vector<const xmlNode *> reread; // a SitePin itself changed: moved, or given a new identifier
    std::unordered_set<const xmlNode *> seen;
    for (const XmlDocumentData::Change &change : data.changes) {
        if (change.revision <= m_revision)
            continue;
        const xmlNode *holder = outermostSitePinAbove(change.node);
        if (change.textOnly || (holder && holder != change.node)) {
            bool holdsSitePin = false;
            if (!change.textOnly)
                forEachOutermostSitePin(change.node, [&holdsSitePin](const xmlNode *) { holdsSitePin = true; });
            if (holdsSitePin) // a SitePin within a SitePin: rare enough to copy everything
                return false;
            if (const qsizetype slot = holder ? slotOf(holder) : -1; slot >= 0)
                changed.push_back(slot);
            continue;
        }
        if (holder == change.node)
            reread.push_back(holder);
        forEachOutermostSitePin(change.node, [&](const xmlNode *sitePin) {
            if (seen.insert(sitePin).second)
                touched.push_back(sitePin);
        });
    }
    Slots added;
    if (!touched.empty() && !placeAgain(touched, added))
        return false;
    for (const xmlNode *sitePin : reread) {
        if (const qsizetype slot = slotOf(sitePin); slot >= 0)
            m_rows[size_t(slot)] = SitePinRow::of(sitePin);
    }
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    for (const qsizetype sitePin : changed) {
        if (!std::binary_search(added.begin(), added.end(), sitePin))
            replaceTexts(sitePin);
    }
    m_revision = data.revision;
    return !tooMuchRemovedText();
}

// Each run of touched SitePins that the document holds between two listed
// ones (or before the first) goes into the order after the listed one
// before it.
bool SitePinTextIndex::placeAgain(const std::vector<const xmlNode *> &touched, Slots &added)
{
    const std::unordered_set<const xmlNode *> isTouched(touched.begin(), touched.end());
    for (const xmlNode *sitePin : touched) {
        if (const qsizetype slot = slotOf(sitePin); slot >= 0)
            m_listed[size_t(slot)] = 0;
    }
    std::unordered_map<qsizetype, Slots> groups; // by the slot they follow, -1 for the start
    std::unordered_set<const xmlNode *> placed;
    for (const xmlNode *sitePin : touched) {
        if (placed.count(sitePin) || !isInDocument(sitePin))
            continue;
        const xmlNode *anchor = previousElement(sitePin);
        while (anchor && !(isSitePin(anchor) && !isTouched.count(anchor)))
            anchor = previousElement(anchor);
        if (anchor && !isListed(anchor, isTouched))
            return false; // a change the document did not report
        Slots &group = groups[anchor ? slotOf(anchor) : -1];
        if (!collectGroup(anchor ? anchor : documentElementAbove(sitePin), isTouched, group, added))
            return false;
        for (const qsizetype slot : group)
            placed.insert(m_sitePins[size_t(slot)]);
    }
    Slots order;
    order.reserve(m_order.size() + added.size());
    const auto appendGroup = [&order, &groups](qsizetype after) {
        if (const auto group = groups.find(after); group != groups.end())
            order.insert(order.end(), group->second.begin(), group->second.end());
    };
    appendGroup(-1);
    for (const qsizetype slot : m_order) {
        if (!isTouched.count(m_sitePins[size_t(slot)])) {
            order.push_back(slot);
            appendGroup(slot);
        }
    }
    m_order = std::move(order);
    std::sort(added.begin(), added.end());
    return true;
}

// The touched SitePins after `anchor` (the document element for the start) up to
// the next listed one, in document order, copied where they are new.
bool SitePinTextIndex::collectGroup(const xmlNode *anchor, const std::unordered_set<const xmlNode *> &touched,
                                    Slots &group, Slots &added)
{
    for (const xmlNode *walk = nextElement(anchor); walk; walk = nextElement(walk)) {
        if (!isSitePin(walk))
            continue;
        if (!touched.count(walk))
            return isListed(walk, touched);
        qsizetype slot = slotOf(walk);
        if (slot < 0) {
            slot = add(const_cast<xmlNode *>(walk));
            if (holdsCharacterFoldingOntoAscii(QByteArrayView(m_text).sliced(m_begin[size_t(slot)])))
                m_undecided.push_back(slot);
            added.push_back(slot);
        }
        m_listed[size_t(slot)] = 1;
        group.push_back(slot);
    }
    return true;
}

qsizetype SitePinTextIndex::slotOf(const xmlNode *sitePin) const
{
    const auto found = m_slots.find(sitePin);
    return found == m_slots.end() ? -1 : found->second;
}

bool SitePinTextIndex::isListed(const xmlNode *sitePin, const std::unordered_set<const xmlNode *> &touched) const
{
    const qsizetype slot = slotOf(sitePin);
    return slot >= 0 && m_listed[size_t(slot)] && !touched.count(sitePin);
}

// Removed SitePins keep their texts in the copy until it is taken afresh.
bool SitePinTextIndex::tooMuchRemovedText() const
{
    qsizetype removed = 0;
    for (size_t slot = 0; slot < m_listed.size(); ++slot) {
        if (!m_listed[slot])
            removed += m_begin[slot + 1] - m_begin[slot];
    }
    return removed > m_text.size() / 2;
}

qsizetype SitePinTextIndex::sitePinAt(qsizetype offset) const
{
    return qsizetype(std::upper_bound(m_begin.begin(), m_begin.end(), offset) - m_begin.begin()) - 1;
}

// A match lies in a field when the field's text starts after the last zero
// before the match.
bool SitePinTextIndex::isInField(qsizetype offset, qsizetype sitePin, Field field) const
{
    const qsizetype fieldBegin = m_fieldBegin[int(field) - 1][size_t(sitePin)];
    if (fieldBegin < 0 || fieldBegin > offset)
        return false;
    const char *text = m_text.constData();
    return !std::memchr(text + fieldBegin, 0, size_t(offset - fieldBegin));
}
