#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

enum class BookmarkFormat
{
    Netscape,
    Xbel,
    FirefoxPlaces,
    ChromiumJson,
};

// Which format a file is in: for export by the name the user gave it, for
// import by what the file holds.
class BookmarkFormats
{
public:
    // .html and .htm: Netscape; .xbel and .xml: XBEL; anything else: none.
    static std::optional<BookmarkFormat> forExport(const QString &path);
    // The first bytes of a file; anything not recognised is taken for a
    // Netscape file, whose reader then says if it is not one.
    static BookmarkFormat sniff(QByteArrayView head);
    static std::optional<BookmarkFormat> sniffFile(const QString &path, QString &error);
};
