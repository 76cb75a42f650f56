#include "BookmarkOutline.h"
#include "LibraryText.h"
#include "ProgramRun.h"
#include "QtPrinters.h"
#include "store/XMLDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using L = LibraryText;
using Lines = QStringList;
using Finished = ProgramRun::Finished;

// The built program, run as a script would run it.
class CommandLineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(ProgramRun::program().isEmpty());
        writeLibrary(L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example/", "Ask Bob")) +
                     L::folder(2, "Home", L::sitePin(2, "Bank", "https://bank.example/", "", "TRUE")));
    }

    void writeLibrary(const QString &body) { ASSERT_TRUE(L::writeFile(m_library, L::document(body))); }
    QByteArray libraryBytes() const { return L::readFile(m_library); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    Finished run(const QStringList &arguments) const { return ProgramRun::run(arguments, {}, m_dir.path()); }
    Finished onLibrary(const QStringList &arguments) const
    {
        return run(QStringList{"--library", m_library} + arguments);
    }

    QStringList outline() const
    {
        XMLDatabase db;
        EXPECT_TRUE(db.openDBValidate(m_library));
        return BookmarkOutline::ofLibrary(db.getTheDOM().documentElement());
    }

    QTemporaryDir m_dir;
    QString m_library = m_dir.filePath("lib.xml");
};

} // namespace

TEST_F(CommandLineTest, addSearchExportAndImportOnALibrary)
{
    Finished added =
        onLibrary({"--add", "https://news.example/?a=1&b=2", "--name", "Nachrichten", "--folder", "work/Daily"});
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, "Added \"Nachrichten\" to Work/Daily (new folder).\n");
    added = run({m_library, "--add", "https://plain.example/"});
    EXPECT_EQ(added.out, "Added \"https://plain.example/\" to Unsorted (new folder).\n") << "the library as LIBRARY";
    EXPECT_EQ(outline(),
              (Lines{"[Work]", "  [Daily]", "    Nachrichten <https://news.example/?a=1&b=2>",
                     "  Intranet <http://intranet.example/> // Ask Bob", "[Home]", "  Bank <https://bank.example/> *",
                     "[Unsorted]", "  https://plain.example/ <https://plain.example/>"}));

    const struct
    {
        QStringList arguments;
        const char *out;
    } searches[] = {
        {{"--search", "BANK"}, "Bank\thttps://bank.example/\n"},
        {{"--search", "intranet.", "--in", "name"}, ""},
        {{"--search", "bob", "--in", "notes"}, "Intranet\thttp://intranet.example/\n"},
        {{"--search", "news", "--in", "address"}, "Nachrichten\thttps://news.example/?a=1&b=2\n"},
        {{"--search", "TRUE"}, "Bank\thttps://bank.example/\n"},
    };
    for (const auto &search : searches) {
        const Finished found = onLibrary(search.arguments);
        EXPECT_EQ(found.exitCode, 0);
        EXPECT_EQ(found.out, search.out) << search.arguments.join(' ').toStdString();
    }

    const Finished html = onLibrary({"--export", "all.html"});
    EXPECT_EQ(html.out, "Exported 4 folders and 4 SitePins to " + path("all.html") + ".\n") << html.err.toStdString();
    const Finished xbel = onLibrary({"--export", path("work.XBEL"), "--folder", "Work"});
    EXPECT_EQ(xbel.out, "Exported 2 folders and 2 SitePins to " + path("work.XBEL") + ".\n");
    EXPECT_TRUE(L::readFile(path("work.XBEL")).contains("<title>Nachrichten</title>"));

    const Finished imported = onLibrary({"--import", "all.html"});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.startsWith("Imported 4 folders and 4 SitePins into the new folder \"all.html "))
        << imported.out.toStdString();
    EXPECT_EQ(outline().size(), 8 + 9);
}

TEST_F(CommandLineTest, wrongArgumentsExitWithTwoAndChangeNothing)
{
    const QByteArray before = libraryBytes();
    const struct
    {
        QStringList arguments;
        const char *error;
    } table[] = {
        {{"--bogus"}, "Unknown option 'bogus'."},
        {{"--add"}, "Missing value after '--add'."},
        {{"--add", "http://x.example/", "--search", "x"}, "Give only one of --add, --search, --export and --import."},
        {{"--search", "x", "--name", "y"}, "--name goes with --add."},
        {{"--search", "x", "--folder", "y"}, "--folder goes with --add or --export."},
        {{"--search", "x", "--in", "everywhere"}, "--in takes name, address, notes or all, not \"everywhere\"."},
        {{"--in", "name"}, "--in goes with --search."},
        {{"--export", "out.json"},
         "Cannot tell the format from the name \"out.json\": use .html or .htm for a Netscape bookmark file, .xbel or "
         ".xml for XBEL."},
        {{"one.xml", "two.xml"}, "Give one library at most."},
        {{"--library", "a.xml", "b.xml", "--search", "x"}, "Two libraries are given: \"a.xml\" and \"b.xml\"."},
        {{"--version", "--search", "x"}, "--help and --version take no command."},
    };
    for (const auto &row : table) {
        const Finished result = run(row.arguments);
        EXPECT_EQ(result.exitCode, 2) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.err, QString::fromUtf8(row.error) + "\nSee SitePins --help.\n");
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(libraryBytes(), before);
    EXPECT_TRUE(run({"--help"}).out.startsWith("Usage: SitePins [--library FILE] [LIBRARY]\n"));
    EXPECT_EQ(run({"-v"}).out, "SitePins Manager " SITEPINS_VERSION "\n");
}

TEST_F(CommandLineTest, failuresExitWithOneAndChangeNothing)
{
    ASSERT_TRUE(L::writeFile(path("broken.html"), "not a bookmark file"));
    const QByteArray before = libraryBytes();
    const struct
    {
        QStringList arguments;
        QString error;
    } table[] = {
        {{"--import", "broken.html"},
         path("broken.html") + " could not be imported. The file is not a bookmark file: it holds no bookmark list. "
                               "Nothing was changed."},
        {{"--import", "missing.html"},
         path("missing.html") + " could not be imported. The file does not exist. Nothing was changed."},
        {{"--export", "x.html", "--folder", "Work/Nowhere"}, "There is no folder Work/Nowhere."},
        {{"--add", "http://x.example/", "--folder", QString("a/").repeated(101)},
         "The folder is nested deeper than the library can hold (100 levels). Nothing was changed."},
    };
    for (const auto &row : table) {
        const Finished result = onLibrary(row.arguments);
        EXPECT_EQ(result.exitCode, 1) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(result.err, row.error + "\n");
    }
    EXPECT_EQ(libraryBytes(), before);

    const Finished missing = run({"--library", path("none.xml"), "--search", "x"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "The library " + path("none.xml") + " could not be opened: The file does not exist.\n");

    QFile::setPermissions(m_library, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const Finished readOnly = onLibrary({"--add", "http://x.example/"});
    EXPECT_EQ(readOnly.exitCode, 1);
    EXPECT_EQ(readOnly.err, "The library " + m_library + " is read-only. Nothing was changed.\n");
    EXPECT_EQ(libraryBytes(), before);
}
