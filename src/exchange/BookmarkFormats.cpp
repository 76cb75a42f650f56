#include "exchange/BookmarkFormats.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype kHeadSize = 4096;

} // namespace

std::optional<BookmarkFormat> BookmarkFormats::forExport(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return BookmarkFormat::Netscape;
    if (suffix == QLatin1String("xbel") || suffix == QLatin1String("xml"))
        return BookmarkFormat::Xbel;
    return std::nullopt;
}

BookmarkFormat BookmarkFormats::sniff(QByteArrayView head)
{
    if (head.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return BookmarkFormat::FirefoxPlaces;
    const QByteArrayView text = head.trimmed();
    if (text.startsWith('{'))
        return BookmarkFormat::ChromiumJson;
    if (text.startsWith("<?xml") && text.contains("<xbel"))
        return BookmarkFormat::Xbel;
    if (text.startsWith("<!DOCTYPE xbel") || text.startsWith("<xbel"))
        return BookmarkFormat::Xbel;
    return BookmarkFormat::Netscape;
}

std::optional<BookmarkFormat> BookmarkFormats::sniffFile(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    return sniff(file.read(kHeadSize));
}
