#pragma once

#include "exchange/BookmarkTree.h"
#include "store/XmlNode.h"

// The library, or one folder of it, as a tree of bookmarks to be written
// out: from the root FOLDERS the top-level folders, from a FOLDER that
// folder itself with everything below it.
class LibraryTree
{
public:
    static BookmarkTree read(const XmlNode &start);
};
