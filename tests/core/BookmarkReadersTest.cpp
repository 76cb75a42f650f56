#include "BookmarkOutline.h"
#include "QtPrinters.h"
#include "TestFiles.h"
#include "exchange/BookmarkFile.h"
#include "exchange/ChromiumBookmarksReader.h"
#include "exchange/FirefoxPlacesReader.h"
#include "exchange/NetscapeBookmarkReader.h"
#include "exchange/XbelReader.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Lines = QStringList;

// Seconds for the middle of a day here, as an ADD_DATE.
QByteArray addDate(int year, int month, int day)
{
    return QByteArray::number(QDateTime(QDate(year, month, day), QTime(12, 0)).toSecsSinceEpoch());
}

QByteArray chromiumTime(int year, int month, int day)
{
    const qint64 unixMicroseconds = QDateTime(QDate(year, month, day), QTime(12, 0)).toSecsSinceEpoch() * 1000000;
    return QByteArray::number(unixMicroseconds + 11644473600LL * 1000000);
}

BookmarkTree readOk(const BookmarkReadResult &result)
{
    EXPECT_TRUE(result.ok) << result.errorString.toStdString();
    return result.tree;
}

// Reads what must be read, as this outline, leaving out `skipped` entries.
BookmarkTree expectRead(const BookmarkReadResult &result, const QStringList &outline, int skipped = 0)
{
    const BookmarkTree tree = readOk(result);
    EXPECT_EQ(BookmarkOutline::of(tree), outline);
    EXPECT_EQ(tree.skipped, skipped);
    return tree;
}

// As Firefox exports it: the menu's entries at the top, the toolbar and the
// other bookmarks as folders, descriptions in <DD>, queries as place:.
const QByteArray kFirefoxHtml =
    R"x(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file.
     It will be read and overwritten.
     DO NOT EDIT! -->
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'self'; script-src 'none'; img-src data: *; object-src 'none'"></meta>
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks Menu</H1>

<DL><p>
    <DT><A HREF="place:parent=menu________&sort=12&maxResults=10" ADD_DATE="1700000000">Recent Tags</A>
    <HR>
    <DT><A HREF="https://search.example/?q=a&amp;lang=de&x=1" ADD_DATE=")x" +
    addDate(2023, 11, 14) +
    R"x(" LAST_MODIFIED="1700000001" ICON_URI="https://search.example/favicon.ico" TAGS="work,search" SHORTCUTURL="s">Suche &amp; Finde</A>
    <DD>Die Suche
mit zwei Zeilen
    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="1700000000">Réseau &lt;lokal&gt;</H3>
    <DD>a folder's own description
    <DL><p>
        <DT><A HREF="http://router.local/">日本語のページ</A>
        <DT><A HREF="javascript:void(document.title)">Bookmarklet</A>
        <DT><H3>Empty</H3>
        <DL><p>
        </DL><p>
        <DT><A HREF="http://untitled.example/"></A>
    </DL><p>
    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="1700000000" PERSONAL_TOOLBAR_FOLDER="true">Bookmarks Toolbar</H3>
    <DL><p>
        <DT><A HREF="https://news.example/" ADD_DATE="0">News</A>
    </DL><p>
</DL>
)x";

// As Chromium exports it: every folder's list right after its heading.
const QByteArray kChromiumHtml = R"x(<!DOCTYPE NETSCAPE-Bookmark-file-1>
<!-- This is an automatically generated file.
     It will be read and overwritten.
     DO NOT EDIT! -->
<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">
<TITLE>Bookmarks</TITLE>
<H1>Bookmarks</H1>
<DL><p>
    <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="0" PERSONAL_TOOLBAR_FOLDER="true">Bookmarks bar</H3>
    <DL><p>
        <DT><A HREF="https://a.example/?x=1&y=2" ADD_DATE="1700000000" ICON="data:image/png;base64,iVBORw0KGgo=">A &amp; B</A>
        <DT><H3 ADD_DATE="1700000000" LAST_MODIFIED="0">Ordner</H3>
        <DL><p>
            <DT><A HREF="https://c.example/" ADD_DATE="1700000000">Ça</A>
        </DL><p>
    </DL><p>
    <DT><A HREF="https://outside.example/" ADD_DATE="1700000000">Outside</A>
</DL><p>
)x";

} // namespace

TEST(BookmarkReaders, netscapeFilesAsBrowsersWriteThem)
{
    // Left out: the query, the separator and the bookmarklet.
    const BookmarkTree firefox =
        expectRead(NetscapeBookmarkReader::read(kFirefoxHtml),
                   {"Suche & Finde <https://search.example/?q=a&lang=de&x=1> // Die Suche\nmit zwei Zeilen",
                    "[Réseau <lokal>]", "  日本語のページ <http://router.local/>", "  [Empty]",
                    "  http://untitled.example/ <http://untitled.example/>", "[Bookmarks Toolbar]",
                    "  News <https://news.example/>"},
                   3);
    EXPECT_EQ(firefox.root.children.at(0).created, QDate(2023, 11, 14));
    EXPECT_FALSE(firefox.root.children.at(2).children.at(0).created.isValid()) << "ADD_DATE 0 is no date";

    expectRead(NetscapeBookmarkReader::read(kChromiumHtml),
               {"[Bookmarks bar]", "  A & B <https://a.example/?x=1&y=2>", "  [Ordner]", "    Ça <https://c.example/>",
                "Outside <https://outside.example/>"});
}

// Regression: the parser nested each entry in the one before and stopped
// reading at its depth limit, after some 250 entries of a list.
TEST(BookmarkReaders, aLongListIsReadToTheEnd)
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><H3>Many</H3>\n<DL><p>\n";
    for (int i = 0; i < 5000; ++i)
        html += "<DT><A HREF=\"http://e.example/" + QByteArray::number(i) + "\" TITLE='<DT> in a value'>e" +
                QByteArray::number(i) + "</A>\n<DD>note <!-- <DT> in a comment -->" + QByteArray::number(i) + "\n";
    html += "</DL><p>\n<DT><A HREF=\"http://last.example/\">last</A>\n</DL><p>\n";
    const BookmarkTree tree = readOk(NetscapeBookmarkReader::read(html));
    EXPECT_EQ(tree.bookmarkCount(), 5001);
    const QStringList lines = BookmarkOutline::of(tree);
    EXPECT_EQ(lines.at(5000), "  e4999 <http://e.example/4999> // note 4999");
    EXPECT_EQ(lines.last(), "last <http://last.example/>");
}

// Hand-written files leave out the header and the character set, close
// lists that were never opened and forget to close the last ones.
TEST(BookmarkReaders, netscapeFilesWrittenByHand)
{
    const QByteArray sloppy = "<dl><dt><h3>Überall</h3><dl><dt><a href=' http://x.example/ '>x</a>\n"
                              "<dd>first<br>second</dl></dl></dl><dt><a href=\"http://y.example/\">y</a>\n"
                              "<dt><h3>Last</h3><dl><dt><a href=\"http://z.example/\">z</a>";
    expectRead(NetscapeBookmarkReader::read(sloppy), {"[Überall]", "  x <http://x.example/> // first\nsecond",
                                                      "y <http://y.example/>", "[Last]", "  z <http://z.example/>"});
    const QByteArray latin1 =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1><DL><DT><A HREF=\"http://l.example/\">Caf\xe9</A></DL>";
    expectRead(NetscapeBookmarkReader::read(latin1), {"Café <http://l.example/>"});
}

TEST(BookmarkReaders, xbelWithItsEntriesAndNothingExpanded)
{
    const QByteArray xbel = R"x(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE xbel [ <!ENTITY boom "BOOM"> ]>
<xbel version="1.0">
  <title>My bookmarks</title>
  <bookmark href="https://top.example/?a=1&amp;b=2" added="2024-02-29T23:30:00">
    <title>Top &amp; more</title>
    <desc>Notes here</desc>
  </bookmark>
  <folder id="f1" added="2020-01-01">
    <title>Ünïcode 文件夹</title>
    <desc>folder text is not kept</desc>
    <separator/>
    <bookmark href="javascript:alert(1)"><title>Script</title></bookmark>
    <folder><title>Inner</title>
      <bookmark href="https://inner.example/"><title>&boom;Inner page</title></bookmark>
      <alias ref="f1"/>
    </folder>
    <bookmark href="https://untitled.example/"/>
  </folder>
</xbel>
)x";
    // Left out: the separator, the script and the alias.
    const BookmarkTree tree = expectRead(XbelReader::read(xbel),
                                         {"Top & more <https://top.example/?a=1&b=2> // Notes here", "[Ünïcode 文件夹]",
                                          "  [Inner]", "    Inner page <https://inner.example/>",
                                          "  https://untitled.example/ <https://untitled.example/>"},
                                         3);
    EXPECT_EQ(tree.root.children.at(0).created, QDate(2024, 2, 29));
}

TEST(BookmarkReaders, chromiumBookmarksFileKeepsItsRootsAsFolders)
{
    const QByteArray json = R"x({
   "checksum": "0123456789abcdef",
   "roots": {
      "bookmark_bar": {
         "children": [ {
            "date_added": ")x" +
                            chromiumTime(2022, 6, 1) + R"x(", "guid": "1", "id": "5", "name": "Zürich & Co",
            "type": "url", "url": "https://zh.example/?a=1&b=2"
         }, {
            "children": [ { "name": "", "type": "url", "url": "https://noname.example/", "date_added": "0" },
                          { "name": "Run", "type": "url", "url": "JavaScript:go()" } ],
            "date_added": "13300000000000000", "name": "Sub", "type": "folder"
         } ],
         "date_added": "13300000000000000", "name": "Bookmarks bar", "type": "folder"
      },
      "other": { "children": [ { "name": "Elsewhere", "type": "url", "url": "https://else.example/" } ],
                 "name": "Other bookmarks", "type": "folder" },
      "synced": { "children": [ ], "name": "Mobile bookmarks", "type": "folder" }
   },
   "version": 1
})x";
    const BookmarkTree tree = expectRead(ChromiumBookmarksReader::read(json),
                                         {"[Bookmarks bar]", "  Zürich & Co <https://zh.example/?a=1&b=2>", "  [Sub]",
                                          "    https://noname.example/ <https://noname.example/>", "[Other bookmarks]",
                                          "  Elsewhere <https://else.example/>"},
                                         1);
    const BookmarkEntry &zurich = tree.root.children.at(0).children.at(0);
    EXPECT_EQ(zurich.created, QDate(2022, 6, 1));
    EXPECT_FALSE(zurich.favourite) << "the bookmark bar marks no favourites";
}

// Each reader says why, and gives nothing to import.
TEST(BookmarkReaders, malformedInputIsRefusedWithAReason)
{
    using Reader = BookmarkReadResult (*)(QByteArrayView);
    const struct
    {
        Reader read;
        QByteArray bytes;
        const char *error;
    } table[] = {
        {NetscapeBookmarkReader::read, "", "The file is empty."},
        {NetscapeBookmarkReader::read, "Just some text, no list.",
         "The file is not a bookmark file: it holds no bookmark list."},
        {NetscapeBookmarkReader::read, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "The file is not a bookmark file: it holds no bookmark list."},
        {NetscapeBookmarkReader::read, QByteArray("<DL><DT><H3>x</H3><DD><p><b>").repeated(300),
         "The file nests its lists too deep to be read to the end."},
        {XbelReader::read, "<xbel><folder><title>x</folder></xbel>",
         "The file is not well-formed XML: Opening and ending tag mismatch: title line 1 and folder (line 1)."},
        {XbelReader::read, "<?xml version=\"1.0\"?><opml/>",
         "The file is not an XBEL file: its outermost element is <opml>, not <xbel>."},
        {ChromiumBookmarksReader::read, "{\"roots\": {",
         "The file is not valid JSON: unterminated object (at byte 11)."},
        {ChromiumBookmarksReader::read, "[1, 2]", "The file holds no bookmarks of a Chromium profile."},
        {FirefoxPlacesReader::read, "not a database at all, but long enough to have a header of sorts......",
         "The file is not a Firefox bookmarks database: file is not a database."},
    };
    for (const auto &row : table) {
        const BookmarkReadResult result = row.read(row.bytes);
        EXPECT_FALSE(result.ok) << row.bytes.left(40).toStdString();
        EXPECT_EQ(result.errorString, QString::fromUtf8(row.error)) << row.bytes.left(40).toStdString();
        EXPECT_TRUE(result.tree.root.children.empty());
    }
}

// The library holds folders 100 levels deep, one of them the import's own.
TEST(BookmarkReaders, foldersDeeperThanTheLibraryHoldsAreLeftOutAndCounted)
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    for (int level = 1; level <= 120; ++level)
        html += "<DT><H3>L" + QByteArray::number(level) + "</H3>\n<DL><p>\n<DT><A HREF=\"http://l" +
                QByteArray::number(level) + ".example/\">p</A>\n";
    html += QByteArray("</DL><p>\n").repeated(120) + "<DT><A HREF=\"http://after.example/\">after</A>\n</DL>\n";
    const BookmarkTree tree = readOk(NetscapeBookmarkReader::read(html));
    EXPECT_EQ(tree.folderCount(), 99);
    EXPECT_EQ(tree.bookmarkCount(), 100) << "one in each folder kept, and the one after them all";
    EXPECT_EQ(tree.skipped, 2 * 21);
    EXPECT_EQ(BookmarkOutline::of(tree).last(), "after <http://after.example/>");
}

// Files are read in the format their content shows, whatever their name.
TEST(BookmarkReaders, aFileIsReadInTheFormatItHolds)
{
    QTemporaryDir dir;
    const struct
    {
        const char *name;
        QByteArray bytes;
    } files[] = {
        {"bookmarks.txt", kChromiumHtml},
        {"Bookmarks", R"x({"roots": {"other": {"type": "folder", "children": [
                          {"type": "url", "name": "A & B", "url": "https://a.example/?x=1&y=2"}]}}})x"},
        {"export.html", "<?xml version=\"1.0\"?>\n<xbel><bookmark href=\"https://a.example/?x=1&amp;y=2\">"
                        "<title>A &amp; B</title></bookmark></xbel>"},
    };
    for (const auto &file : files) {
        ASSERT_TRUE(TestFiles::write(dir.filePath(file.name), file.bytes));
        const QStringList lines = BookmarkOutline::of(readOk(BookmarkFile::read(dir.filePath(file.name))));
        EXPECT_TRUE(lines.contains("  A & B <https://a.example/?x=1&y=2>") ||
                    lines.contains("A & B <https://a.example/?x=1&y=2>"))
            << file.name << ": " << lines.join(" | ").toStdString();
    }
    EXPECT_EQ(BookmarkFile::read(dir.filePath("missing.html")).errorString, "The file does not exist.");
}
