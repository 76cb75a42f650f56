#include "exchange/BookmarkTree.h"

namespace {

void countBelow(const BookmarkEntry &folder, int &folders, int &bookmarks)
{
    for (const BookmarkEntry &child : folder.children) {
        if (child.isFolder) {
            ++folders;
            countBelow(child, folders, bookmarks);
        } else {
            ++bookmarks;
        }
    }
}

} // namespace

int BookmarkTree::folderCount() const
{
    int folders = 0, bookmarks = 0;
    countBelow(root, folders, bookmarks);
    return folders;
}

int BookmarkTree::bookmarkCount() const
{
    int folders = 0, bookmarks = 0;
    countBelow(root, folders, bookmarks);
    return bookmarks;
}
