#pragma once

#include "exchange/BookmarkTree.h"

#include <QStringList>

class XmlNode;

// A bookmark tree as lines a test can state in full: "[Folder]" for a
// folder, "Name <address>" for a bookmark, then " // notes",
// " ~ description" and " *" for a favourite where there are any; two
// blanks of indentation per level.
class BookmarkOutline
{
public:
    static QStringList of(const BookmarkTree &tree);
    static QStringList of(const BookmarkEntry &folder, int depth = 0);
    // The library from `start` (the root or a folder) the same way.
    static QStringList ofLibrary(const XmlNode &start);
};
