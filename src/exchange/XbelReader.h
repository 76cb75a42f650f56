#pragma once

#include "exchange/BookmarkTree.h"

#include <QByteArrayView>

// XBEL, the XML Bookmark Exchange Language: <folder> and <bookmark>
// elements with a <title> and a <desc>, <separator> and <alias> entries.
// The document type definition is never fetched, and entities are never
// expanded into the texts read.
class XbelReader
{
public:
    // Owner of the <metadata> this program writes into an entry's <info>.
    static constexpr const char *kMetadataOwner = "SitePins";

    static BookmarkReadResult read(QByteArrayView bytes);
};
