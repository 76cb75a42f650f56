#pragma once

#include "exchange/BookmarkTree.h"

#include <QByteArrayView>

// The Netscape bookmark file (bookmarks.html), as every browser exports it:
// nested <DL> lists of <DT><H3> folders and <DT><A HREF> bookmarks, a <DD>
// after an entry holding its text, <HR> separators. Read with libxml2's
// HTML parser, which takes the file's missing and misplaced end tags as
// browsers do; what matters is only the order of the elements, not how the
// parser nests them.
class NetscapeBookmarkReader
{
public:
    static BookmarkReadResult read(QByteArrayView bytes);
};
