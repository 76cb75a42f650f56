#include "exchange/LibraryTree.h"

#include "exchange/BookmarkDates.h"

namespace {

bool isNamed(const XmlNode &node, const char *name)
{
    return node.nodeName() == QLatin1String(name);
}

BookmarkEntry sitePinEntry(const XmlNode &sitePin)
{
    BookmarkEntry entry;
    // One pass over the fields: the walk runs over every SitePin.
    for (XmlNode field = sitePin.firstChildElement(); field; field = field.nextSiblingElement()) {
        const QString name = field.nodeName();
        if (name == QLatin1String("NAME"))
            entry.name = field.text();
        else if (name == QLatin1String("ADDRESS"))
            entry.address = field.text();
        else if (name == QLatin1String("CREATED_DATE"))
            entry.created = BookmarkDates::fromCreationDate(field.text());
        else if (name == QLatin1String("DESCRIPTION"))
            entry.description = field.text();
        else if (name == QLatin1String("NOTES"))
            entry.notes = field.text();
        else if (name == QLatin1String("FAV"))
            entry.favourite = field.text().compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
    }
    return entry;
}

// The parser keeps the library's nesting far below what recursion can bear.
BookmarkEntry folderEntry(const XmlNode &folder)
{
    BookmarkEntry entry = BookmarkEntry::makeFolder();
    entry.name = folder.selectSingleNode(QStringLiteral("NAME")).text();
    for (XmlNode sub = folder.selectSingleNode(QStringLiteral("SUBFOLDERS")).firstChildElement(); sub;
         sub = sub.nextSiblingElement()) {
        if (isNamed(sub, "FOLDER"))
            entry.children.push_back(folderEntry(sub));
    }
    for (XmlNode sitePin = folder.selectSingleNode(QStringLiteral("SITEPINS")).firstChildElement(); sitePin;
         sitePin = sitePin.nextSiblingElement()) {
        if (isNamed(sitePin, "SITEPIN"))
            entry.children.push_back(sitePinEntry(sitePin));
    }
    return entry;
}

} // namespace

BookmarkTree LibraryTree::read(const XmlNode &start)
{
    BookmarkTree tree;
    if (isNamed(start, "FOLDER")) {
        tree.root.children.push_back(folderEntry(start));
        return tree;
    }
    for (XmlNode folder = start.firstChildElement(); folder; folder = folder.nextSiblingElement()) {
        if (isNamed(folder, "FOLDER"))
            tree.root.children.push_back(folderEntry(folder));
    }
    return tree;
}
