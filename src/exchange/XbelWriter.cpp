#include "exchange/XbelWriter.h"

#include "exchange/MarkupEscape.h"
#include "exchange/XbelReader.h"

namespace {

void indent(QString &out, int depth)
{
    out += QString(2 * depth, QLatin1Char(' '));
}

void element(QString &out, int depth, const char *name, const QString &text)
{
    indent(out, depth);
    out += QLatin1Char('<') + QLatin1String(name) + QLatin1Char('>');
    MarkupEscape::append(out, text);
    out += QLatin1String("</") + QLatin1String(name) + QLatin1String(">\n");
}

void writeOwnMetadata(QString &out, const BookmarkEntry &entry, int depth)
{
    if (entry.description.isEmpty() && !entry.favourite)
        return;
    indent(out, depth);
    out += QLatin1String("<info>\n");
    indent(out, depth + 1);
    out += QLatin1String("<metadata owner=\"") + QLatin1String(XbelReader::kMetadataOwner) + QLatin1String("\">\n");
    if (!entry.description.isEmpty())
        element(out, depth + 2, "description", entry.description);
    if (entry.favourite) {
        indent(out, depth + 2);
        out += QLatin1String("<favorite/>\n");
    }
    indent(out, depth + 1);
    out += QLatin1String("</metadata>\n");
    indent(out, depth);
    out += QLatin1String("</info>\n");
}

void writeBookmark(QString &out, const BookmarkEntry &entry, int depth)
{
    indent(out, depth);
    out += QLatin1String("<bookmark href=\"");
    MarkupEscape::append(out, entry.address);
    out += QLatin1Char('"');
    if (entry.created.isValid())
        out += QLatin1String(" added=\"") + entry.created.toString(Qt::ISODate) + QLatin1Char('"');
    out += QLatin1String(">\n");
    element(out, depth + 1, "title", entry.name);
    writeOwnMetadata(out, entry, depth + 1);
    if (!entry.notes.isEmpty())
        element(out, depth + 1, "desc", entry.notes);
    indent(out, depth);
    out += QLatin1String("</bookmark>\n");
}

void writeChildren(QString &out, const BookmarkEntry &folder, int depth)
{
    for (const BookmarkEntry &child : folder.children) {
        if (!child.isFolder) {
            writeBookmark(out, child, depth);
            continue;
        }
        indent(out, depth);
        out += QLatin1String("<folder>\n");
        element(out, depth + 1, "title", child.name);
        writeChildren(out, child, depth + 1);
        indent(out, depth);
        out += QLatin1String("</folder>\n");
    }
}

} // namespace

QByteArray XbelWriter::write(const BookmarkTree &tree)
{
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<!DOCTYPE xbel>\n"
                                 "<xbel version=\"1.0\">\n");
    writeChildren(out, tree.root, 1);
    out += QLatin1String("</xbel>\n");
    return out.toUtf8();
}
