#include "exchange/LibraryExport.h"

#include "exchange/LibraryTree.h"
#include "exchange/NetscapeBookmarkWriter.h"
#include "exchange/XbelWriter.h"
#include "store/AtomicFile.h"

QByteArray LibraryExport::toBytes(const XmlNode &start, BookmarkFormat format, int *folders, int *sitePins)
{
    const BookmarkTree tree = LibraryTree::read(start);
    if (folders)
        *folders = tree.folderCount();
    if (sitePins)
        *sitePins = tree.bookmarkCount();
    return format == BookmarkFormat::Xbel ? XbelWriter::write(tree) : NetscapeBookmarkWriter::write(tree);
}

LibraryExport::Outcome LibraryExport::toFile(const QString &path, const XmlNode &start, BookmarkFormat format)
{
    Outcome outcome;
    const QByteArray bytes = toBytes(start, format, &outcome.folders, &outcome.sitePins);
    outcome.saved = AtomicFile::write(path, bytes);
    return outcome;
}
