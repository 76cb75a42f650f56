#include "exchange/BookmarkFile.h"

#include "exchange/ChromiumBookmarksReader.h"
#include "exchange/FirefoxPlacesReader.h"
#include "exchange/NetscapeBookmarkReader.h"
#include "exchange/XbelReader.h"

#include <QFile>
#include <QFileInfo>

BookmarkReadResult BookmarkFile::read(const QString &path, BookmarkFormat format)
{
    const QFileInfo info(path);
    if (!info.exists())
        return BookmarkReadResult::failure(QStringLiteral("The file does not exist."));
    if (!info.isFile())
        return BookmarkReadResult::failure(QStringLiteral("It is not a file."));
    if (info.size() > kMaxFileSize)
        return BookmarkReadResult::failure(
            QStringLiteral("The file is larger than %1 MiB.").arg(kMaxFileSize / (1024 * 1024)));
    if (format == BookmarkFormat::FirefoxPlaces)
        return FirefoxPlacesReader::readFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return BookmarkReadResult::failure(file.errorString() + QLatin1Char('.'));
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    switch (format) {
    case BookmarkFormat::Netscape:
        return NetscapeBookmarkReader::read(bytes);
    case BookmarkFormat::Xbel:
        return XbelReader::read(bytes);
    case BookmarkFormat::ChromiumJson:
        return ChromiumBookmarksReader::read(bytes);
    case BookmarkFormat::FirefoxPlaces:
        break;
    }
    return FirefoxPlacesReader::read(bytes);
}

BookmarkReadResult BookmarkFile::read(const QString &path)
{
    QString error;
    const std::optional<BookmarkFormat> format = BookmarkFormats::sniffFile(path, error);
    if (!format)
        return BookmarkReadResult::failure(QFileInfo::exists(path) ? error + QLatin1Char('.')
                                                                   : QStringLiteral("The file does not exist."));
    return read(path, *format);
}
