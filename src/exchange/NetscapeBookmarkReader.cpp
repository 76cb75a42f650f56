#include "exchange/NetscapeBookmarkReader.h"

#include "exchange/BookmarkDates.h"
#include "exchange/BookmarkTreeBuilder.h"

#include <QStringDecoder>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <algorithm>
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
                                                        BookmarkDates::fromAddDate(attribute(node, "add_date")));
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
    const std::unique_ptr<xmlDoc, DocFree> doc(
        htmlReadMemory(bytes.data(), int(bytes.size()), nullptr, encoding,
                       HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING));
    if (!doc)
        return BookmarkReadResult::failure(QStringLiteral("The file could not be read as HTML."));
    Walk walk;
    walk.run(reinterpret_cast<xmlNodePtr>(doc.get()));
    if (!walk.sawList() && !isBookmarkDoctype(doc.get()))
        return BookmarkReadResult::failure(
            QStringLiteral("The file is not a bookmark file: it holds no bookmark list."));
    return {true, {}, walk.take()};
}
