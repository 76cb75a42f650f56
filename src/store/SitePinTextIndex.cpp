#include "store/SitePinTextIndex.h"

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

std::vector<SitePinTextIndex::FieldText> SitePinTextIndex::fieldTexts(const XmlDocument &dom, Field field)
{
    std::vector<FieldText> result;
    if (dom.isEmpty() || field == Field::Any)
        return result;
    refresh(dom.m_data);
    const std::vector<qsizetype> &begins = m_fieldBegin[int(field) - 1];
    result.reserve(m_sitePins.size());
    for (size_t i = 0; i < m_sitePins.size(); ++i) {
        const char *text = begins[i] < 0 ? "" : m_text.constData() + begins[i];
        result.push_back({XmlNode(dom.m_data, m_sitePins[i]), QByteArrayView(text, qsizetype(std::strlen(text)))});
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
    if (m_document.lock() == data && (m_revision == data->revision || catchUp(*data)))
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
    static_assert(std::extent_v<decltype(m_fieldBegin)> == std::size(kFieldNames));
    m_sitePins.push_back(sitePin.m_node);
    m_begin.push_back(m_text.size());
    FieldBegins begins;
    appendSitePinTexts(m_text, sitePin.m_node, begins);
    for (size_t f = 0; f < std::size(begins); ++f)
        m_fieldBegin[f].push_back(begins[f]);
}

// The SitePin's texts are taken again and the texts after them move by the
// difference in length.
void SitePinTextIndex::replaceTexts(qsizetype sitePin)
{
    const size_t index = size_t(sitePin);
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

// Only the SitePins holding an element whose text changed are taken again,
// as long as the document has kept count of every change since the copy.
bool SitePinTextIndex::catchUp(const XmlDocumentData &data)
{
    if (m_revision < data.textChangesFrom)
        return false;
    std::vector<qsizetype> changed;
    for (const auto &[revision, element] : data.textChanges) {
        if (revision <= m_revision)
            continue;
        const qsizetype sitePin = sitePinHolding(element);
        if (sitePin >= 0)
            changed.push_back(sitePin);
    }
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    for (const qsizetype sitePin : changed)
        replaceTexts(sitePin);
    m_revision = data.revision;
    return true;
}

// The outermost SitePin above the element is the one copied; an element in
// no copied SitePin (a folder's name, a removed SitePin) changes nothing here.
qsizetype SitePinTextIndex::sitePinHolding(const _xmlNode *element) const
{
    const xmlNode *outermost = nullptr;
    for (const xmlNode *walk = element; walk; walk = walk->parent) {
        if (walk->type == XML_ELEMENT_NODE && xmlStrEqual(walk->name, reinterpret_cast<const xmlChar *>("SITEPIN")))
            outermost = walk;
    }
    const auto found = std::find(m_sitePins.begin(), m_sitePins.end(), outermost);
    return outermost && found != m_sitePins.end() ? qsizetype(found - m_sitePins.begin()) : -1;
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
