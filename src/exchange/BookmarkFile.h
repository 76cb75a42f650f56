#pragma once

#include "exchange/BookmarkFormats.h"
#include "exchange/BookmarkTree.h"

#include <QString>

// Reads a bookmark file of any supported format from disk.
class BookmarkFile
{
public:
    // Far beyond any real bookmark store; a larger file is refused rather
    // than read into memory.
    static constexpr qint64 kMaxFileSize = 512LL * 1024 * 1024;

    static BookmarkReadResult read(const QString &path, BookmarkFormat format);
    // In the format its content shows.
    static BookmarkReadResult read(const QString &path);
};
