#pragma once

#include "exchange/BookmarkTree.h"

#include <QByteArray>

// The Netscape bookmark file as browsers write it and read it back:
// folders as <DT><H3> with a <DL> list, bookmarks as <DT><A HREF ADD_DATE>,
// notes in the <DD> after them. A description and the favourite mark go in
// attributes browsers pass over, so that the file brings them back here.
class NetscapeBookmarkWriter
{
public:
    static QByteArray write(const BookmarkTree &tree);
};
