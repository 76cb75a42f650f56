#include "exchange/XbelReader.h"

#include "exchange/BookmarkDates.h"
#include "exchange/BookmarkTreeBuilder.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <memory>
#include <vector>

namespace {

struct DocFree
{
    void operator()(xmlDocPtr doc) const { xmlFreeDoc(doc); }
};

struct ContextFree
{
    void operator()(xmlParserCtxtPtr context) const { xmlFreeParserCtxt(context); }
};

bool isNamed(const xmlNode *node, const char *name)
{
    return node && node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, reinterpret_cast<const xmlChar *>(name));
}

const xmlNode *childNamed(const xmlNode *node, const char *name)
{
    for (const xmlNode *child = node->children; child; child = child->next) {
        if (isNamed(child, name))
            return child;
    }
    return nullptr;
}

// The element's own text; entity references are left out rather than
// expanded.
QString textOf(const xmlNode *node)
{
    QString text;
    for (const xmlNode *child = node ? node->children : nullptr; child; child = child->next) {
        if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && child->content)
            text += QString::fromUtf8(reinterpret_cast<const char *>(child->content));
    }
    return text;
}

QString attribute(const xmlNode *node, const char *name)
{
    xmlChar *value = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar *>(name));
    if (!value)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    return text;
}

const xmlNode *ownMetadata(const xmlNode *entry)
{
    const xmlNode *info = childNamed(entry, "info");
    for (const xmlNode *child = info ? info->children : nullptr; child; child = child->next) {
        if (isNamed(child, "metadata") && attribute(child, "owner") == QLatin1String(XbelReader::kMetadataOwner))
            return child;
    }
    return nullptr;
}

void readBookmark(BookmarkTreeBuilder &builder, const xmlNode *node)
{
    BookmarkEntry *bookmark = builder.addBookmark(textOf(childNamed(node, "title")), attribute(node, "href"),
                                                  BookmarkDates::fromIso(attribute(node, "added")));
    if (!bookmark)
        return;
    bookmark->notes = BookmarkTreeBuilder::fieldText(textOf(childNamed(node, "desc")));
    if (const xmlNode *metadata = ownMetadata(node)) {
        bookmark->description = BookmarkTreeBuilder::fieldText(textOf(childNamed(metadata, "description")));
        bookmark->favourite = childNamed(metadata, "favorite") != nullptr;
    }
}

// Without recursion: the file decides how deep its folders go.
BookmarkTree readEntries(const xmlNode *root)
{
    BookmarkTreeBuilder builder;
    std::vector<const xmlNode *> next{root->children};
    while (!next.empty()) {
        const xmlNode *node = next.back();
        if (!node) {
            next.pop_back();
            if (!next.empty())
                builder.closeFolder();
            continue;
        }
        next.back() = node->next;
        if (isNamed(node, "folder")) {
            builder.openFolder(textOf(childNamed(node, "title")), BookmarkDates::fromIso(attribute(node, "added")));
            next.push_back(node->children);
        } else if (isNamed(node, "bookmark")) {
            readBookmark(builder, node);
        } else if (isNamed(node, "separator") || isNamed(node, "alias")) {
            builder.skip();
        }
    }
    return builder.take();
}

// The first error tells where the file went wrong; the parser's last one
// is often only that the file ended.
void keepFirstError(void *firstError, xmlErrorPtr error)
{
    auto &kept = *static_cast<QString *>(firstError);
    if (!kept.isEmpty() || !error || error->level < XML_ERR_ERROR)
        return;
    kept = QStringLiteral("The file is not well-formed XML: %1 (line %2).")
               .arg(QString::fromUtf8(error->message ? error->message : "").trimmed())
               .arg(error->line);
}

} // namespace

BookmarkReadResult XbelReader::read(QByteArrayView bytes)
{
    if (bytes.trimmed().isEmpty())
        return BookmarkReadResult::failure(QStringLiteral("The file is empty."));
    if (bytes.size() > INT_MAX)
        return BookmarkReadResult::failure(QStringLiteral("The file is too large."));
    const std::unique_ptr<xmlParserCtxt, ContextFree> context(xmlNewParserCtxt());
    if (!context)
        return BookmarkReadResult::failure(QStringLiteral("Out of memory."));
    QString firstError;
    xmlSetStructuredErrorFunc(&firstError, keepFirstError);
    const std::unique_ptr<xmlDoc, DocFree> doc(
        xmlCtxtReadMemory(context.get(), bytes.data(), int(bytes.size()), nullptr, nullptr, XML_PARSE_NONET));
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc || !context->wellFormed)
        return BookmarkReadResult::failure(firstError.isEmpty() ? QStringLiteral("The file is not well-formed XML.")
                                                                : firstError);
    const xmlNode *root = xmlDocGetRootElement(doc.get());
    if (!isNamed(root, "xbel"))
        return BookmarkReadResult::failure(
            QStringLiteral("The file is not an XBEL file: its outermost element is <%1>, not <xbel>.")
                .arg(root ? QString::fromUtf8(reinterpret_cast<const char *>(root->name)) : QString()));
    return {true, {}, readEntries(root)};
}
