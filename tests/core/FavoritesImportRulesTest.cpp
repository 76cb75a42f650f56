#include "TestFiles.h"
#include "browser/logic/ImportProgress.h"
#include "browser/logic/InternetShortcut.h"
#include "browser/logic/WindowsDrive.h"
#include "store/IdentifierRun.h"
#include "store/LibraryElements.h"
#include "store/XMLDatabase.h"

#include "LibraryText.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(InternetShortcut, addressComesFromTheLastUrlLineThatIsNotABaseUrl)
{
    const struct
    {
        const char *text;
        const char *address;
    } cases[] = {
        {"[InternetShortcut]\r\nURL=http://a.example/\r\n", "http://a.example/"},
        {"[DEFAULT]\nBASEURL=http://base.example/\n[InternetShortcut]\nURL=http://real.example/\n",
         "http://real.example/"},
        {"URL=http://first.example/\nurl=http://last.example/\nBaseUrl=http://base.example/\n", "http://last.example/"},
        {"IconFile=x\nURL=http://a.example/?next=URL=b\n", "http://a.example/?next=URL=b"},
        {"[InternetShortcut]\nIconIndex=0\n", ""},
        {"", ""},
    };
    for (const auto &each : cases)
        EXPECT_EQ(InternetShortcut::addressIn(QString::fromLatin1(each.text)), QString::fromLatin1(each.address))
            << each.text;
}

TEST(InternetShortcut, typesNamesAndTheBytesOfOlderFiles)
{
    EXPECT_EQ(InternetShortcut::typeDescription("News.url"), "Internet Shortcut");
    EXPECT_EQ(InternetShortcut::typeDescription("NEWS.URL"), "Internet Shortcut");
    EXPECT_EQ(InternetShortcut::typeDescription("desktop.ini"), "INI file");
    EXPECT_EQ(InternetShortcut::typeDescription("page.html"), "");
    EXPECT_EQ(InternetShortcut::decode("Caf\xc3\xa9"), QString::fromUtf8("Café"));
    EXPECT_EQ(InternetShortcut::decode("Caf\xe9 \x80"), QString::fromUtf8("Café €"));

    QTemporaryDir folder;
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        EXPECT_TRUE(TestFiles::write(folder.filePath(name), bytes));
        return folder.filePath(name);
    };
    const InternetShortcut news = InternetShortcut::read(write("News.url", "[InternetShortcut]\r\nURL=http://n/\r\n"));
    EXPECT_EQ(news.outcome, InternetShortcut::Outcome::Read);
    EXPECT_EQ(news.name, "News");
    EXPECT_EQ(news.address, "http://n/");
    EXPECT_EQ(InternetShortcut::read(write("Empty.url", "[InternetShortcut]\n")).outcome,
              InternetShortcut::Outcome::NoAddress);
    EXPECT_EQ(InternetShortcut::read(write("Page.htm", "URL=http://n/\n")).outcome,
              InternetShortcut::Outcome::NotAShortcut);
    EXPECT_EQ(InternetShortcut::read(write("Big.url", "URL=http://n/\n" + QByteArray(70 * 1024, 'x'))).outcome,
              InternetShortcut::Outcome::NotAShortcut);
    QDir(folder.path()).mkdir("Folder.url");
    EXPECT_EQ(InternetShortcut::read(folder.filePath("Folder.url")).outcome, InternetShortcut::Outcome::Unreadable);
}

TEST(WindowsDrive, foundByTheSettingThenWslThenWineAndSearchedOnlyInTheTwoPrefixes)
{
    QTemporaryDir home;
    EXPECT_EQ(WindowsDrive::candidates("/media/win", home.path()),
              QStringList({"/media/win", "/mnt/c", home.filePath(".wine/drive_c")}));
    EXPECT_EQ(WindowsDrive::candidates(" ", home.path()).first(), "/mnt/c");
    if (!QFileInfo::exists("/mnt/c")) {
        EXPECT_EQ(WindowsDrive::locate("/no/such/folder", home.path()), "");
        QDir(home.path()).mkpath(".wine/drive_c");
        EXPECT_EQ(WindowsDrive::locate("/no/such/folder", home.path()), home.filePath(".wine/drive_c"));
    }
    EXPECT_EQ(WindowsDrive::locate(home.path(), QString()), home.path());

    EXPECT_EQ(WindowsDrive::windowsPath("/mnt/c", "/mnt/c"), "C:\\");
    EXPECT_EQ(WindowsDrive::windowsPath("/mnt/c", "/mnt/c/Documents and Settings/me"),
              "C:\\Documents and Settings\\me");
    for (const char *searched : {"C:\\WINDOWS", "C:\\windows\\system", "C:\\Windows.old", "C:\\Documents and Settings",
                                 "C:\\DOCUMENTS AND SETTINGS\\me\\Favorites"})
        EXPECT_TRUE(WindowsDrive::isSearched(QString::fromLatin1(searched))) << searched;
    for (const char *skipped : {"C:\\", "C:\\Users\\me\\Favorites", "C:\\Program Files", "C:\\Documents"})
        EXPECT_FALSE(WindowsDrive::isSearched(QString::fromLatin1(skipped))) << skipped;
}

TEST(ImportProgress, creepsMoreSlowlyNearTheEndAndJumpsToNinetyEight)
{
    const struct
    {
        double before, little, to98;
    } cases[] = {{0, 1, 98},     {59, 60, 99},          {60, 60.5, 98}, {79.5, 80, 99.5},
                 {80, 80.1, 98}, {98.95, 99.05, 98.95}, {99, 99, 99},   {100, 100, 100}};
    for (const auto &each : cases) {
        EXPECT_DOUBLE_EQ(ImportProgress::advanceALittle(each.before), each.little) << each.before;
        EXPECT_DOUBLE_EQ(ImportProgress::advanceToAtLeast98(each.before), each.to98) << each.before;
    }
}

// The run hands out what getNewTID/getNewWID would, element after element.
TEST(IdentifierRun, agreesWithTheDatabaseWhileElementsAreAdded)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("SitePins.xml");
    ASSERT_TRUE(
        LibraryText::writeFile(path, LibraryText::document(LibraryText::folder(1, "A", LibraryText::sitePin(3, "x")) +
                                                           LibraryText::folder(3, "B", LibraryText::sitePin(5, "y")))));
    XMLDatabase database;
    ASSERT_TRUE(database.openDBValidate(path));
    XmlDocument dom = database.getTheDOM();
    IdentifierRun run(database);
    XmlNode root = dom.documentElement();
    for (int i = 0; i < 6; ++i) {
        const QString expectedTid = database.getNewTID();
        const QString tid = run.nextTID();
        ASSERT_EQ(tid, expectedTid);
        XmlNode created = LibraryElements::appendFolder(dom, root, tid, "F");
        XmlNode sitePins = created.selectSingleNode("SITEPINS");
        const QString expectedWid = database.getNewWID();
        const QString wid = run.nextWID();
        ASSERT_EQ(wid, expectedWid);
        LibraryElements::appendSitePin(dom, sitePins, wid, {});
    }
}

} // namespace
