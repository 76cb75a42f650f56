#include "exchange/NetscapeBookmarkReader.h"

#include "exchange/BookmarkDates.h"
#include "exchange/BookmarkTreeBuilder.h"

#include <QStringDecoder>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <vector>

namespace {

constexpr qsizetype kHeadSize = 4096;

struct DocFree
{
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};

bool isNamed(const xmlNode *node, const char *name)
{
    return node->type == XML_ELEMENT_NODE && xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar *>(name)) == 0;
}

QString attribute(const xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text;
}

// Titles are written with the file's line breaks and indentation in them.
QString titleOf(const xmlNode *node)
{
    xmlChar *content = xmlNodeGetContent(node);
    if (!content)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(content)).simplified();
    xmlFree(content);
    return text;
}

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QByteArray fromWindows1252(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes).toUtf8();
    return QString(decoder.decode(bytes)).toUtf8();
}

bool declaresCharset(QByteArrayView bytes)
{
    return bytes.first(std::min(bytes.size(), kHeadSize)).toByteArray().toLower().contains("charset");
}

bool isNameByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

// libxml2's HTML parser does not end a <DT> at the next <DT>: each entry of
// a list would nest inside the one before, and a list of more than about
// 250 entries would reach the parser's depth limit, where it stops reading.
// So the end tag browsers imply is written before each <DT> and <DD> that
// follows another entry of the same list. Comments and quoted attribute
// values are copied as they are.
class ListItemsEnded
{
public:
    static QByteArray of(QByteArrayView bytes)
    {
        ListItemsEnded pass;
        pass.m_out.reserve(bytes.size() + bytes.size() / 8);
        qsizetype i = 0;
        while (i < bytes.size()) {
            const qsizetype open = bytes.indexOf('<', i);
            if (open < 0) {
                pass.m_out.append(bytes.sliced(i));
                break;
            }
            pass.m_out.append(bytes.sliced(i, open - i));
            i = pass.copyTag(bytes, open);
        }
        return pass.m_out;
    }

private:
    enum class Item
    {
        None,
        Term,
        Description,
    };

    // Returns where the tag ends.
    qsizetype copyTag(QByteArrayView bytes, qsizetype open)
    {
        if (bytes.sliced(open).startsWith("<!--")) {
            const qsizetype close = bytes.indexOf("-->", open + 4);
            return copy(bytes, open, close < 0 ? bytes.size() : close + 3);
        }
        const bool closing = open + 1 < bytes.size() && bytes.at(open + 1) == '/';
        qsizetype nameEnd = open + (closing ? 2 : 1);
        const qsizetype nameStart = nameEnd;
        while (nameEnd < bytes.size() && isNameByte(bytes.at(nameEnd)))
            ++nameEnd;
        note(bytes.sliced(nameStart, nameEnd - nameStart).toByteArray().toLower(), closing);
        // To the tag's end, past quoted values that may hold '>'.
        qsizetype end = nameEnd;
        char quote = 0;
        while (end < bytes.size() && (quote || bytes.at(end) != '>')) {
            const char c = bytes.at(end);
            if (quote && c == quote)
                quote = 0;
            else if (!quote && !closing && (c == '"' || c == '\''))
                quote = c;
            ++end;
        }
        return copy(bytes, open, std::min(bytes.size(), end + 1));
    }

    qsizetype copy(QByteArrayView bytes, qsizetype from, qsizetype to)
    {
        m_out.append(bytes.sliced(from, to - from));
        return to;
    }

    void note(const QByteArray &name, bool closing)
    {
        if (name == "dl") {
            if (!closing)
                m_levels.push_back(Item::None);
            else if (!m_levels.empty())
                m_levels.pop_back();
            return;
        }
        const Item item = name == "dt" ? Item::Term : name == "dd" ? Item::Description : Item::None;
        if (item == Item::None || closing)
            return;
        if (m_levels.empty())
            m_levels.push_back(Item::None);
        if (m_levels.back() == Item::Term)
            m_out.append("</dt>");
        else if (m_levels.back() == Item::Description)
            m_out.append("</dd>");
        m_levels.back() = item;
    }

    QByteArray m_out;
    std::vector<Item> m_levels;
};

// A parse that stopped at the depth limit has left out the rest of the file.
void noteStop(void *stopped, xmlErrorPtr error)
{
    if (error && error->code == XML_ERR_INTERNAL_ERROR && error->level == XML_ERR_FATAL)
        *static_cast<bool *>(stopped) = true;
}

bool isBookmarkDoctype(const xmlDoc *doc)
{
    return doc->intSubset && doc->intSubset->name &&
           QByteArray(reinterpret_cast<const char *>(doc->intSubset->name))
               .startsWith(QByteArrayLiteral("NETSCAPE-Bookmark-file"));
}

class Walk
{
public:
    bool sawList() const { return m_sawList; }
    BookmarkTree take() { return m_builder.take(); }

    // Document order, without recursion: the file decides how deep the
    // parser's tree goes.
    void run(xmlNodePtr top)
    {
        xmlNodePtr node = top->children;
        while (node) {
            if (enter(node) && node->children) {
                node = node->children;
                continue;
            }
            while (node && !node->next) {
                node = node->parent;
                if (node == top)
                    return;
                leave(node);
            }
            if (node)
                node = node->next;
        }
    }

private:
    // True to look inside the node.
    bool enter(xmlNodePtr node)
    {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (m_text && node->content)
                m_text->append(QString::fromUtf8(reinterpret_cast<const char *>(node->content)));
            return false;
        }
        if (node->type != XML_ELEMENT_NODE)
            return false;
        if (isNamed(node, "br")) {
            if (m_text)
                m_text->append(QLatin1Char('\n'));
            return false;
        }
        if (isNamed(node, "dd")) {
            endText();
            if (m_last)
                m_text = &m_last->notes;
            return true;
        }
        const bool structural = isNamed(node, "dl") || isNamed(node, "dt") || isNamed(node, "h3") ||
                                isNamed(node, "a") || isNamed(node, "hr");
        if (!structural)
            return true;
        endText();
        if (isNamed(node, "dl")) {
            m_sawList = true;
            // A list right after a folder's heading holds that folder; any
            // other list is read into the folder around it.
            m_listsFillingAFolder.push_back(m_headingOpen);
            m_headingOpen = false;
            return true;
        }
        closeUnfilledHeading();
        m_last = nullptr;
        if (isNamed(node, "h3")) {
            m_builder.openFolder(titleOf(node));
            m_headingOpen = true;
            return false;
        }
        if (isNamed(node, "a")) {
            readBookmark(node);
            return false;
        }
        if (isNamed(node, "hr"))
            m_builder.skip();
        return true;
    }

    void leave(xmlNodePtr node)
    {
        if (isNamed(node, "dd")) {
            endText();
        } else if (isNamed(node, "dl")) {
            endText();
            closeUnfilledHeading();
            if (!m_listsFillingAFolder.empty()) {
                if (m_listsFillingAFolder.back())
                    m_builder.closeFolder();
                m_listsFillingAFolder.pop_back();
            }
        }
    }

    void readBookmark(xmlNodePtr node)
    {
        BookmarkEntry *bookmark = m_builder.addBookmark(titleOf(node), attribute(node, "href"),
                                                        m_dates.fromAddDate(attribute(node, "add_date")));
        if (!bookmark)
            return;
        // Written only by this program's own export.
        bookmark->description = BookmarkTreeBuilder::fieldText(attribute(node, "description"));
        bookmark->favourite = attribute(node, "favorite").compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
        m_last = bookmark;
    }

    // A heading with no list after it is an empty folder.
    void closeUnfilledHeading()
    {
        if (!m_headingOpen)
            return;
        m_headingOpen = false;
        m_builder.closeFolder();
    }

    void endText()
    {
        if (m_text)
            *m_text = BookmarkTreeBuilder::fieldText(*m_text);
        m_text = nullptr;
    }

    BookmarkTreeBuilder m_builder;
    BookmarkDates m_dates;
    BookmarkEntry *m_last = nullptr;
    QString *m_text = nullptr;
    bool m_headingOpen = false;
    bool m_sawList = false;
    std::vector<bool> m_listsFillingAFolder;
};

} // namespace

BookmarkReadResult NetscapeBookmarkReader::read(QByteArrayView bytes)
{
    if (bytes.trimmed().isEmpty())
        return BookmarkReadResult::failure(QStringLiteral("The file is empty."));
    if (bytes.size() > INT_MAX)
        return BookmarkReadResult::failure(QStringLiteral("The file is too large."));
    // Browsers write UTF-8. Other files say what they hold, or else hold
    // what browsers take such files for.
    QByteArray recoded;
    if (!isValidUtf8(bytes) && !declaresCharset(bytes)) {
        recoded = fromWindows1252(bytes);
        bytes = recoded;
    }
    const char *encoding = isValidUtf8(bytes) ? "UTF-8" : nullptr;
    const QByteArray text = ListItemsEnded::of(bytes);
    if (text.size() > INT_MAX)
        return BookmarkReadResult::failure(QStringLiteral("The file is too large."));
    bool stopped = false;
    xmlSetStructuredErrorFunc(&stopped, noteStop);
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(text.constData(), int(text.size()), nullptr, encoding, HTML_PARSE_RECOVER | HTML_PARSE_NONET));
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc)
        return BookmarkReadResult::failure(QStringLiteral("The file could not be read as HTML."));
    if (stopped)
        return BookmarkReadResult::failure(QStringLiteral("The file nests its lists too deep to be read to the end."));
    Walk walk;
    walk.run(reinterpret_cast<xmlNodePtr>(doc.get()));
    if (!walk.sawList() && !isBookmarkDoctype(doc.get()))
        return BookmarkReadResult::failure(
            QStringLiteral("The file is not a bookmark file: it holds no bookmark list."));
    return {true, {}, walk.take()};
}
