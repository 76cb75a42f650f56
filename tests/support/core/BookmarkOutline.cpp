#include "BookmarkOutline.h"

#include "exchange/LibraryTree.h"

QStringList BookmarkOutline::of(const BookmarkTree &tree)
{
    return of(tree.root);
}

QStringList BookmarkOutline::of(const BookmarkEntry &folder, int depth)
{
    QStringList lines;
    const QString indent(2 * depth, QLatin1Char(' '));
    for (const BookmarkEntry &child : folder.children) {
        if (child.isFolder) {
            lines << indent + QLatin1Char('[') + child.name + QLatin1Char(']');
            lines << of(child, depth + 1);
            continue;
        }
        QString line = indent + child.name + QStringLiteral(" <") + child.address + QLatin1Char('>');
        if (!child.notes.isEmpty())
            line += QStringLiteral(" // ") + child.notes;
        if (!child.description.isEmpty())
            line += QStringLiteral(" ~ ") + child.description;
        if (child.favourite)
            line += QStringLiteral(" *");
        lines << line;
    }
    return lines;
}

QStringList BookmarkOutline::ofLibrary(const XmlNode &start)
{
    return of(LibraryTree::read(start));
}
