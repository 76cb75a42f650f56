#pragma once

#include <QDate>
#include <QString>

#include <vector>

// One folder or bookmark as a browser's bookmark store holds it, on its way
// into or out of the library.
struct BookmarkEntry
{
    bool isFolder = false;
    QString name;
    QString address;
    QString description;
    QString notes;
    // Invalid when the source gives no date.
    QDate created;
    bool favourite = false;
    std::vector<BookmarkEntry> children;

    static BookmarkEntry makeFolder(const QString &name = {})
    {
        BookmarkEntry folder;
        folder.isFolder = true;
        folder.name = name;
        return folder;
    }
};

// What a reader found: the entries below an unnamed root folder, and how
// many entries it left out (separators, scripts, queries, folders nested
// deeper than the library can hold and everything in them).
struct BookmarkTree
{
    BookmarkEntry root = BookmarkEntry::makeFolder();
    int skipped = 0;

    int folderCount() const;
    int bookmarkCount() const;
};

// A reader's outcome. On failure the tree is empty and the error says, in
// words for the user, why the input was not read.
struct BookmarkReadResult
{
    bool ok = false;
    QString errorString;
    BookmarkTree tree;

    static BookmarkReadResult failure(const QString &error) { return {false, error, {}}; }
};
