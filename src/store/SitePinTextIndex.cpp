#include "store/SitePinTextIndex.h"

#include "store/XmlDocument.h"
#include "store/XmlDocumentData.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr const char *kFieldNames[] = {"NAME", "ADDRESS", "NOTES", "FAV"};
constexpr int kFavourite = 3;

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

} // namespace

std::vector<XmlNode> SitePinTextIndex::find(const XmlDocument &dom, QByteArrayView lowerAsciiTerm, Field field,
                                            const std::function<bool(const XmlNode &sitePin)> &decide)
{
    std::vector<XmlNode> hits;
    if (dom.isEmpty() || lowerAsciiTerm.isEmpty())
        return hits;
    refresh(dom.m_data);
    std::vector<char> isHit = markMatches(lowerAsciiTerm, field);
    for (const qsizetype sitePin : m_undecided)
        isHit[size_t(sitePin)] = decide(XmlNode(dom.m_data, m_sitePins[size_t(sitePin)])) ? 1 : 0;
    for (size_t i = 0; i < isHit.size(); ++i) {
        if (isHit[i])
            hits.emplace_back(dom.m_data, m_sitePins[i]);
    }
    return hits;
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

std::vector<XmlNode> SitePinTextIndex::findWithText(const XmlDocument &dom, Field field)
{
    std::vector<XmlNode> result;
    if (dom.isEmpty())
        return result;
    refresh(dom.m_data);
    for (size_t i = 0; i < m_sitePins.size(); ++i) {
        if (hasText(i, field))
            result.emplace_back(dom.m_data, m_sitePins[i]);
    }
    return result;
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

std::vector<XmlNode> SitePinTextIndex::favourites(const XmlDocument &dom)
{
    std::vector<XmlNode> result;
    if (dom.isEmpty())
        return result;
    refresh(dom.m_data);
    const std::vector<qsizetype> &flags = m_fieldBegin[kFavourite];
    for (size_t i = 0; i < flags.size(); ++i) {
        // Only ASCII letters fold onto "true", and they are lowered here.
        if (flags[i] >= 0 && std::strcmp(m_text.constData() + flags[i], "true") == 0)
            result.emplace_back(dom.m_data, m_sitePins[i]);
    }
    return result;
}

void SitePinTextIndex::clear()
{
    m_document.reset();
    m_text = QByteArray();
    m_sitePins = {};
    m_begin = {};
    for (auto &begins : m_fieldBegin)
        begins = {};
    m_undecided = {};
}

void SitePinTextIndex::refresh(const std::shared_ptr<XmlDocumentData> &data)
{
    if (m_document.lock() == data && m_revision == data->revision)
        return;
    const qsizetype lastSize = m_text.size();
    clear();
    m_text.reserve(lastSize + lastSize / 8);
    m_document = data;
    m_revision = data->revision;
    XmlDocument(data).documentElement().forEachOutermostElementByTagName(
        QStringLiteral("SITEPIN"), [this](const XmlNode &sitePin) { add(sitePin); });
    m_begin.push_back(m_text.size());
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

void SitePinTextIndex::add(const XmlNode &sitePin)
{
    m_sitePins.push_back(sitePin.m_node);
    m_begin.push_back(m_text.size());
    for (auto &begins : m_fieldBegin)
        begins.push_back(-1);
    for (xmlNodePtr child = sitePin.m_node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        for (size_t f = 0; f < std::size(kFieldNames); ++f) {
            qsizetype &begin = m_fieldBegin[f].back();
            if (begin < 0 && xmlStrEqual(child->name, reinterpret_cast<const xmlChar *>(kFieldNames[f])))
                begin = m_text.size();
        }
        addText(child);
    }
}

// The element's text as XmlNode::text() reads it.
void SitePinTextIndex::addText(const _xmlNode *element)
{
    const xmlNode *only = element->children;
    if (only && only->type == XML_TEXT_NODE && !only->next && only->content) {
        appendLowered(m_text, only->content);
    } else if (only) {
        xmlChar *content = xmlNodeGetContent(element);
        if (content)
            appendLowered(m_text, content);
        xmlFree(content);
    }
    m_text.append('\0');
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
