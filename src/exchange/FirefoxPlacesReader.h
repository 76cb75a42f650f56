#pragma once

#include "exchange/BookmarkTree.h"

#include <QByteArrayView>
#include <QString>

// The bookmarks of a Firefox profile, from its places.sqlite: the folders
// under the menu, toolbar, other and mobile roots of moz_bookmarks, their
// addresses from moz_places. Tags are folders of their own in that table
// and are left alone.
class FirefoxPlacesReader
{
public:
    // Read while Firefox runs, which holds the database locked for itself:
    // opened read-only as an immutable file. Changes Firefox has not yet
    // moved out of its write-ahead log would then be missed, so a database
    // with such a log is read from a private copy of the two files instead.
    static BookmarkReadResult readFile(const QString &path);
    // A whole database file held in memory.
    static BookmarkReadResult read(QByteArrayView bytes);
};
