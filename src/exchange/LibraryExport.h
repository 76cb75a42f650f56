#pragma once

#include "exchange/BookmarkFormats.h"
#include "store/SaveResult.h"
#include "store/XmlNode.h"

#include <QByteArray>
#include <QString>

// Writes the library, or one folder and everything below it, to a bookmark
// file that browsers import.
class LibraryExport
{
public:
    struct Outcome
    {
        SaveResult saved;
        int folders = 0;
        int sitePins = 0;
    };

    // `start`: the root FOLDERS for the whole library, or one FOLDER.
    static QByteArray toBytes(const XmlNode &start, BookmarkFormat format, int *folders = nullptr,
                              int *sitePins = nullptr);
    // Replaces the file atomically: it is always the old file or the new one.
    static Outcome toFile(const QString &path, const XmlNode &start, BookmarkFormat format);
};
