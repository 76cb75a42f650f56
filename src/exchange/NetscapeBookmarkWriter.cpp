#include "exchange/NetscapeBookmarkWriter.h"

#include "exchange/BookmarkDates.h"
#include "exchange/MarkupEscape.h"

namespace {

void indent(QString &out, int depth)
{
    out.append(QString(4 * depth, QLatin1Char(' ')));
}

void writeBookmark(QString &out, BookmarkDates &dates, const BookmarkEntry &entry, int depth)
{
    indent(out, depth);
    out += QLatin1String("<DT><A HREF=\"");
    MarkupEscape::append(out, entry.address);
    out += QLatin1Char('"');
    if (entry.created.isValid())
        out += QLatin1String(" ADD_DATE=\"") + QString::number(dates.toUnixSeconds(entry.created)) + QLatin1Char('"');
    if (!entry.description.isEmpty()) {
        out += QLatin1String(" DESCRIPTION=\"");
        MarkupEscape::append(out, entry.description);
        out += QLatin1Char('"');
    }
    if (entry.favourite)
        out += QLatin1String(" FAVORITE=\"TRUE\"");
    out += QLatin1Char('>');
    MarkupEscape::append(out, entry.name);
    out += QLatin1String("</A>\n");
    if (!entry.notes.isEmpty()) {
        indent(out, depth);
        out += QLatin1String("<DD>");
        MarkupEscape::append(out, entry.notes);
        out += QLatin1Char('\n');
    }
}

void writeList(QString &out, BookmarkDates &dates, const BookmarkEntry &folder, int depth)
{
    indent(out, depth - 1);
    out += QLatin1String("<DL><p>\n");
    for (const BookmarkEntry &child : folder.children) {
        if (child.isFolder) {
            indent(out, depth);
            out += QLatin1String("<DT><H3>");
            MarkupEscape::append(out, child.name);
            out += QLatin1String("</H3>\n");
            writeList(out, dates, child, depth + 1);
        } else {
            writeBookmark(out, dates, child, depth);
        }
    }
    indent(out, depth - 1);
    out += QLatin1String("</DL><p>\n");
}

} // namespace

QByteArray NetscapeBookmarkWriter::write(const BookmarkTree &tree)
{
    // The header browsers write, and look for.
    QString out = QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                 "<!-- This is an automatically generated file.\n"
                                 "     It will be read and overwritten.\n"
                                 "     DO NOT EDIT! -->\n"
                                 "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                                 "<TITLE>Bookmarks</TITLE>\n"
                                 "<H1>Bookmarks</H1>\n");
    BookmarkDates dates;
    writeList(out, dates, tree.root, 1);
    return out.toUtf8();
}
