#pragma once

#include "exchange/BookmarkTree.h"
#include "store/LibraryLimits.h"

#include <vector>

// Builds a BookmarkTree as a reader walks its source, folder by folder. It
// holds the rules every format shares: which addresses the library does not
// keep (scripts, browser queries, none at all), names for entries that have
// none, fields cut to what the library holds, and folders too deep for the
// library left out with everything inside them.
class BookmarkTreeBuilder
{
public:
    // The import adds one folder on top of what it reads.
    static constexpr int kMaxDepth = LibraryLimits::kMaxFolderDepth - 1;
    static constexpr const char *kUnnamedFolder = "Unnamed folder";

    BookmarkTreeBuilder() = default;

    // The new folder is filled until closeFolder().
    void openFolder(const QString &name, const QDate &created = {});
    // Closing more folders than were opened is ignored, as sources written by
    // hand close too many.
    void closeFolder();
    // Null when the entry is left out. Otherwise valid until the next entry
    // is added, so that a reader can give it the text that follows it.
    BookmarkEntry *addBookmark(const QString &name, const QString &address, const QDate &created = {});
    void skip(int count = 1) { m_tree.skipped += count; }

    static bool isKeptAddress(const QString &address);
    static QString fieldText(const QString &text);

    BookmarkTree take();

private:
    BookmarkEntry &current() { return m_open.empty() ? m_tree.root : *m_open.back(); }

    BookmarkTree m_tree;
    std::vector<BookmarkEntry *> m_open;
    int m_tooDeep = 0;
};
