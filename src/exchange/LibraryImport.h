#pragma once

#include "exchange/BookmarkFormats.h"
#include "exchange/BookmarkTree.h"
#include "exchange/ImportWriter.h"

#include <QDate>
#include <QString>

#include <functional>

class XMLDatabase;

// Puts what a reader found into the library, below one new folder at the
// top. Nothing is saved here.
class LibraryImport
{
public:
    struct Outcome
    {
        XmlNode topFolder;
        // Below the new top folder.
        int folders = 0;
        int sitePins = 0;
        // Entries that found no identifier.
        int leftOut = 0;
        bool outOfIdentifiers = false;
        // Cancelled imports leave the document as it was.
        bool cancelled = false;
    };
    // Told of each entry before it is added, with how many came before it
    // and how many there are; false cancels the import.
    using Progress = std::function<bool(const BookmarkEntry &entry, int done, int total)>;

    // `today` dates the entries whose source gives no date.
    LibraryImport(const XMLDatabase &database, XmlDocument dom, const QDate &today);

    void setProgress(Progress progress) { m_progress = std::move(progress); }
    Outcome run(const BookmarkTree &tree, const QString &topName);

    // The top folder's name: the source, then the day in the library's
    // creation-date form ("Firefox 06 Dec 2026").
    static QString topFolderName(const QString &source, const QDate &today);
    // The source a file stands for: the browser for a browser's own store,
    // else the file's name ("bookmarks.html").
    static QString sourceOf(const QString &path, BookmarkFormat format);

private:
    // False once the import stops.
    bool addChildren(const BookmarkEntry &folder, const XmlNode &element);
    bool addEntry(const BookmarkEntry &entry, const XmlNode &folder);

    ImportWriter m_writer;
    QDate m_today;
    Progress m_progress;
    bool m_cancelled = false;
    int m_done = 0;
    int m_total = 0;
};
