#pragma once

#include "exchange/BookmarkTree.h"

#include <QByteArrayView>

// The Bookmarks file of a Chromium or Chrome profile: JSON with the roots
// "bookmark_bar", "other" and "synced", each a folder of "folder" and "url"
// nodes. Each root that holds anything becomes a folder of its own: the
// bookmark bar is a place in the browser's window, not a mark of favour.
class ChromiumBookmarksReader
{
public:
    static BookmarkReadResult read(QByteArrayView bytes);
};
