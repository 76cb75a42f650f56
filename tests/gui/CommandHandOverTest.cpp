#include "BookmarkOutline.h"
#include "MainWindowFixture.h"
#include "ProgramRun.h"
#include "QtPrinters.h"

#include <QDir>

namespace {

using L = LibraryText;
using Lines = QStringList;
using Finished = ProgramRun::Finished;

// The window runs here, on the channel name the program itself uses; the
// command line runs as a process of its own, as a script would start it.
class CommandHandOverTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_environment.instanceName = QStringLiteral("SitePins");
        startWith(L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example/")));
        clickFolder("Work");
    }

    Finished run(const QStringList &arguments) { return ProgramRun::run(arguments, m_scratch.path()); }
    Finished add(const QString &library, const QStringList &more)
    {
        return run(QStringList{"--library", library, "--add"} + more);
    }

    QStringList storedAt(const QString &path) const
    {
        XMLDatabase db;
        EXPECT_TRUE(db.openDBValidate(path));
        return BookmarkOutline::ofLibrary(db.getTheDOM().documentElement());
    }

    QTemporaryDir m_scratch;
};

} // namespace

// The window adds the SitePin, shows it and saves once; the command line
// prints what the window answered.
TEST_F(CommandHandOverTest, anAddReachesTheWindowRunningOnThatLibrary)
{
    const Finished done = add(libraryPath(), {"https://news.example/", "--name", "News", "--folder", "work"});
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.out, "Added \"News\" to Work.\n");
    EXPECT_EQ(entryNames(ui().tvwWM), (Lines{"Intranet", "News"})) << "the listed folder is filled again";
    EXPECT_EQ(window().getMyDB().countElements("SITEPIN"), 2) << "the window's own document has it";
    EXPECT_EQ(storedAt(libraryPath()),
              (Lines{"[Work]", "  Intranet <http://intranet.example/>", "  News <https://news.example/>"}));

    const Finished nested = add(libraryPath(), {"https://deep.example/", "--folder", "Work/Later/Maybe"});
    EXPECT_EQ(nested.out, "Added \"https://deep.example/\" to Work/Later/Maybe (new folder).\n");
    EXPECT_EQ(childNames(folderNode("Work")), Lines{"Later"});
    EXPECT_EQ(childNames(folderNode("Later")), Lines{"Maybe"});
    EXPECT_TRUE(m_dialogs.shown().empty()) << m_dialogs.shownTexts().join(" | ").toStdString();
}

// Another library is the command line's own to change; while the user
// edits a SitePin the window refuses, saying why.
TEST_F(CommandHandOverTest, anotherLibraryIsChangedDirectlyAndAnOpenEditRefusesTheCommand)
{
    const QString other = QDir(programFolder()).filePath("Other.xml");
    ASSERT_TRUE(L::writeFile(other, L::document(L::folder(1, "Elsewhere"))));
    const QByteArray before = fileBytes();
    const Finished elsewhere = add(other, {"https://other.example/", "--folder", "Elsewhere"});
    EXPECT_EQ(elsewhere.out, "Added \"https://other.example/\" to Elsewhere.\n") << elsewhere.err.toStdString();
    EXPECT_EQ(storedAt(other), (Lines{"[Elsewhere]", "  https://other.example/ <https://other.example/>"}));
    EXPECT_EQ(fileBytes(), before);

    clickToolbarButton(1);
    ASSERT_EQ(ui().txtMode->text(), "add");
    const Finished refused = add(libraryPath(), {"https://refused.example/"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "SitePins Manager has a SitePin open for editing. Save or cancel it and try again; "
                           "nothing was changed.\n");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(window().getMyDB().countElements("SITEPIN"), 1);
}

TEST_F(CommandHandOverTest, anImportReachesTheWindowAndShowsItsFolder)
{
    const QString file = QDir(programFolder()).filePath("bookmarks.html");
    ASSERT_TRUE(L::writeFile(file,
                             "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"https://a.example/\">A</A>\n"
                             "<HR>\n</DL>\n"));
    const Finished done = run({"--library", libraryPath(), "--import", file});
    EXPECT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.out, "Imported 0 folders and 1 SitePins into the new folder \"bookmarks.html 09 Mar 2026\". 1 "
                        "entries were left out: separators, scripts (javascript:), browser queries (place:) and "
                        "folders nested too deep.\n");
    EXPECT_EQ(ui().lblTName->caption(), "bookmarks.html 09 Mar 2026");
    EXPECT_EQ(entryNames(ui().tvwWM), Lines{"A"});
    EXPECT_EQ(storedAt(libraryPath()).size(), 4);
}

// A second start naming a library opens it in the running window, as File >
// Open does, with the same question when an edit is open.
TEST_F(CommandHandOverTest, aSecondStartNamingALibraryOpensItInTheRunningWindow)
{
    const QString other = QDir(programFolder()).filePath("Other.xml");
    ASSERT_TRUE(L::writeFile(other, L::document(L::folder(1, "Elsewhere"))));
    clickToolbarButton(1);
    m_dialogs.answerNext(MessageAnswer::No);
    EXPECT_EQ(run({other}).exitCode, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_dialogs.shown().empty(); }, 5000));
    EXPECT_EQ(m_dialogs.lastText(), "Opening a new SitePins file will lose any unsaved changes.  Are you sure?");
    EXPECT_EQ(window().m_strLibraryPath, libraryPath());

    m_dialogs.answerNext(MessageAnswer::Yes);
    clickToolbarButton(21);
    ASSERT_EQ(ui().txtMode->text(), "");
    EXPECT_EQ(run({"--library", other}).exitCode, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().m_strLibraryPath == other; }, 5000));
    EXPECT_EQ(childNames(window().folderTree().rootNode()), Lines{"Elsewhere"});
}
