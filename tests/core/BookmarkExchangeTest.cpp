#include "BookmarkOutline.h"
#include "LibraryText.h"
#include "QtPrinters.h"
#include "TestFiles.h"
#include "commandline/LibraryCommands.h"
#include "exchange/FolderPath.h"
#include "exchange/LibraryExport.h"
#include "exchange/LibraryImport.h"
#include "exchange/LibraryTree.h"
#include "exchange/NetscapeBookmarkReader.h"
#include "exchange/XbelReader.h"
#include "store/XMLDatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using L = LibraryText;
using Lines = QStringList;

class BookmarkExchangeTest : public ::testing::Test
{
protected:
    XMLDatabase &open(const QString &body)
    {
        EXPECT_TRUE(L::writeFile(m_path, L::document(body)));
        m_db = std::make_unique<XMLDatabase>();
        m_db->setPath(m_path);
        EXPECT_TRUE(m_db->openDBValidate(m_path)) << m_db->lastOpenError().toStdString();
        return *m_db;
    }
    XmlDocument dom() const { return m_db->getTheDOM(); }
    LibraryCommands::Library library(SaveResult saveOutcome = SaveResult::success())
    {
        return {*m_db, dom(), QDate(2026, 12, 6), [saveOutcome] {
                    return saveOutcome;
                }};
    }
    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        EXPECT_TRUE(TestFiles::write(m_dir.filePath(name), bytes));
        return m_dir.filePath(name);
    }

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("SitePins.xml");
    std::unique_ptr<XMLDatabase> m_db;
};

QString sitePin(int wid, const QString &name, const QString &address, const QString &notes, const char *date,
                const QString &description = {}, bool favourite = false)
{
    return L::sitePin(wid, name, address, notes, favourite ? "TRUE" : "FALSE", description)
        .replace("04 Dec 2026", QLatin1String(date));
}

QStringList datesOf(const BookmarkEntry &folder)
{
    QStringList dates;
    for (const BookmarkEntry &child : folder.children)
        dates << (child.isFolder ? datesOf(child)
                                 : QStringList{child.name + " @ " + child.created.toString(Qt::ISODate)});
    return dates;
}

const QString kLibrary =
    L::folder(1, "Work & <Play>",
              sitePin(1, "Ärger \"quoted\" 'single'", "https://a.example/?x=1&y=\"2\"&z=%20",
                      "First line\n\nThird line with <b>no markup</b> & more", "09 Mar 2026", "A description", true) +
                  sitePin(2, "日本語", "file:///home/user/a b.html", "", "12 Mar 1998"),
              L::folder(2, "Empty") +
                  L::folder(3, "Nested", sitePin(3, "Deep", "https://deep.example/", "x\ty", "31 Dec 2099"))) +
    L::folder(4, "Second", sitePin(4, "Plain", "https://plain.example/", "", "01 Jan 2026"));

} // namespace

TEST_F(BookmarkExchangeTest, exportThenImportGivesTheSameLibraryInBothFormats)
{
    open(kLibrary);
    const BookmarkTree library = LibraryTree::read(dom().documentElement());
    const QStringList original = BookmarkOutline::of(library);
    ASSERT_EQ(original.size(), 8);
    for (const BookmarkFormat format : {BookmarkFormat::Netscape, BookmarkFormat::Xbel}) {
        SCOPED_TRACE(format == BookmarkFormat::Xbel ? "XBEL" : "Netscape");
        const QByteArray file = LibraryExport::toBytes(dom().documentElement(), format);
        const BookmarkReadResult read =
            format == BookmarkFormat::Xbel ? XbelReader::read(file) : NetscapeBookmarkReader::read(file);
        ASSERT_TRUE(read.ok) << read.errorString.toStdString();
        EXPECT_EQ(BookmarkOutline::of(read.tree), original) << file.toStdString();
        EXPECT_EQ(datesOf(read.tree.root), datesOf(library.root));
        EXPECT_EQ(read.tree.skipped, 0);

        // And into a library again, under its new folder.
        const LibraryImport::Outcome outcome =
            LibraryImport(*m_db, dom(), QDate(2026, 12, 6)).run(read.tree, QStringLiteral("Again"));
        ASSERT_TRUE(outcome.topFolder);
        EXPECT_EQ(BookmarkOutline::ofLibrary(outcome.topFolder).mid(1),
                  QStringList(original).replaceInStrings(QRegularExpression("^"), "  "));
        EXPECT_EQ(datesOf(LibraryTree::read(outcome.topFolder).root), datesOf(library.root));
        EXPECT_EQ(outcome.folders, 4);
        EXPECT_EQ(outcome.sitePins, 4);
        dom().documentElement().removeChild(outcome.topFolder);
    }
}

// A folder goes out with its name, as one folder at the top of the file.
TEST_F(BookmarkExchangeTest, aFolderIsExportedWithEverythingBelowIt)
{
    open(kLibrary);
    const XmlNode nested = dom().nodeFromID("T3");
    for (const BookmarkFormat format : {BookmarkFormat::Netscape, BookmarkFormat::Xbel}) {
        int folders = 0, sitePins = 0;
        const QByteArray file = LibraryExport::toBytes(nested, format, &folders, &sitePins);
        const BookmarkReadResult read =
            format == BookmarkFormat::Xbel ? XbelReader::read(file) : NetscapeBookmarkReader::read(file);
        EXPECT_EQ(BookmarkOutline::of(read.tree), (Lines{"[Nested]", "  Deep <https://deep.example/> // x\ty"}));
        EXPECT_EQ(folders, 1);
        EXPECT_EQ(sitePins, 1);
    }
}

// Regression guard for the largest library there can be, and for a file
// that cannot be written: the old one stays whole.
TEST_F(BookmarkExchangeTest, theLargestLibraryIsExportedWholeAndAFailedWriteKeepsTheOldFile)
{
    QString folders;
    for (int folder = 0; folder < 32; ++folder) {
        QString sitePins;
        for (int wid = folder * 1024 + 1; wid <= std::min(32767, (folder + 1) * 1024); ++wid)
            sitePins +=
                L::sitePin(wid, QStringLiteral("P%1").arg(wid), QStringLiteral("https://p.example/%1").arg(wid));
        folders += L::folder(folder + 1, QStringLiteral("F%1").arg(folder), sitePins);
    }
    open(folders);
    for (const char *name : {"all.html", "all.xbel"}) {
        const QString path = m_dir.filePath(name);
        const LibraryExport::Outcome outcome =
            LibraryExport::toFile(path, dom().documentElement(), *BookmarkFormats::forExport(path));
        ASSERT_TRUE(outcome.saved.ok) << outcome.saved.errorString.toStdString();
        EXPECT_EQ(outcome.sitePins, 32767);
        const QByteArray bytes = TestFiles::read(path);
        const BookmarkReadResult read =
            QByteArray(name).endsWith("xbel") ? XbelReader::read(bytes) : NetscapeBookmarkReader::read(bytes);
        EXPECT_EQ(read.tree.bookmarkCount(), 32767);
        EXPECT_EQ(read.tree.folderCount(), 32);
    }

    const QString kept = writeFile("kept.html", "the old file");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const LibraryExport::Outcome failed =
        LibraryExport::toFile(kept, dom().documentElement(), BookmarkFormat::Netscape);
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (::geteuid() != 0) {
        EXPECT_FALSE(failed.saved.ok);
    }
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    EXPECT_TRUE(after == "the old file" || after.startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
}

// What fits is imported and saved, the rest counted; a cancelled import and
// one that cannot be saved leave the document as it was.
TEST_F(BookmarkExchangeTest, importStopsCleanlyAtTheLimitAndLeavesNothingWhenCancelledOrUnsaved)
{
    QString full;
    for (int wid = 1; wid <= 32765; ++wid)
        full += L::sitePin(wid, "P");
    open(L::folder(1, "Existing", full));
    const QString file =
        writeFile("five.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1><DL><DT><H3>F</H3><DL>"
                               "<DT><A HREF='http://1.example/'>1</A><DT><A HREF='http://2.example/'>2</A>"
                               "<DT><A HREF='http://3.example/'>3</A><DT><A HREF='http://4.example/'>4</A>"
                               "<DT><A HREF='http://5.example/'>5</A></DL></DL>");
    const QByteArray before = dom().serialize();

    const CommandResult cancelled = LibraryCommands::import(
        library(), file, std::nullopt, {}, [](const BookmarkEntry &, int done, int) { return done < 3; });
    EXPECT_EQ(cancelled.error, "The import was cancelled. Nothing was changed.");
    EXPECT_EQ(dom().serialize(), before);

    const CommandResult unsaved =
        LibraryCommands::import(library(SaveResult::failure("Disk full")), file, std::nullopt, {});
    EXPECT_EQ(unsaved.error, "The library could not be saved (Disk full). Nothing was changed.");
    EXPECT_EQ(dom().serialize(), before);

    LibraryImport::Outcome outcome;
    const CommandResult partial = LibraryCommands::import(library(), file, std::nullopt, {}, {}, &outcome);
    EXPECT_EQ(partial.exitCode, 1);
    EXPECT_EQ(partial.output,
              "Imported 1 folders and 2 SitePins into the new folder \"five.html 06 Dec 2026\". The import stopped "
              "early: the library already holds the largest number of folders or SitePins it can number (32767). "
              "What was imported until then has been saved; 3 folders and SitePins were left out.");
    EXPECT_EQ(BookmarkOutline::ofLibrary(outcome.topFolder),
              (Lines{"[five.html 06 Dec 2026]", "  [F]", "    1 <http://1.example/>", "    2 <http://2.example/>"}));
}

// Folders on the way are found whatever their case, or made; without a
// folder the SitePin goes to Unsorted; a failed save takes it all back.
TEST_F(BookmarkExchangeTest, addFindsOrMakesTheFolderPathAndTakesItBackWhenNotSaved)
{
    open(L::folder(1, "Work", {}, L::folder(2, "Reading")));
    const struct
    {
        const char *folder;
        const char *summary;
        const char *path;
    } table[] = {
        {"work/READING", "Added \"Page\" to Work/Reading.", "Work/Reading"},
        {"/Work//Reading/Later/", "Added \"Page\" to Work/Reading/Later (new folder).", "Work/Reading/Later"},
        {"", "Added \"Page\" to Unsorted (new folder).", "Unsorted"},
    };
    for (const auto &row : table) {
        CommandLineOptions options;
        options.address = " https://page.example/ ";
        options.name = "Page";
        options.folder = row.folder;
        SitePinAddition::Outcome added;
        const CommandResult result = LibraryCommands::add(library(), options, &added);
        EXPECT_EQ(result.output, row.summary);
        EXPECT_EQ(FolderPath::of(added.folder), row.path);
        EXPECT_EQ(added.sitePin.selectSingleNode("ADDRESS").text(), "https://page.example/");
        EXPECT_EQ(added.sitePin.selectSingleNode("CREATED_DATE").text(), "06 Dec 2026");
    }
    const QByteArray before = dom().serialize();
    CommandLineOptions options;
    options.address = "https://lost.example/";
    options.folder = "New/Deeper";
    EXPECT_EQ(LibraryCommands::add(library(SaveResult::failure("Disk full")), options).error,
              "The library could not be saved (Disk full). Nothing was changed.");
    EXPECT_EQ(dom().serialize(), before);
}
