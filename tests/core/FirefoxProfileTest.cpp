#include "BookmarkOutline.h"
#include "FirefoxPlacesFixture.h"
#include "QtPrinters.h"
#include "TestFiles.h"
#include "exchange/BrowserProfiles.h"
#include "exchange/FirefoxPlacesReader.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using Lines = QStringList;

struct Connection
{
    explicit Connection(const QString &path)
    {
        EXPECT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    }
    ~Connection() { sqlite3_close(db); }
    void run(const char *sql)
    {
        char *error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << "\n" << sql;
        sqlite3_free(error);
    }
    sqlite3 *db = nullptr;
};

} // namespace

// Firefox holds its database locked for itself while it runs, and what it
// wrote lately may still be in its write-ahead log. The reader must neither
// wait for the lock nor change the profile's files.
TEST(FirefoxPlaces, readsARunningFirefoxsDatabaseAndLeavesItsFilesAlone)
{
    // How the new bookmark is written, and whether the reader sees it.
    const std::tuple<const char *, const char *, bool> rows[] = {
        {"under a write lock", "BEGIN EXCLUSIVE;", false},
        {"into the write-ahead log",
         "PRAGMA journal_mode=WAL; PRAGMA locking_mode=EXCLUSIVE; PRAGMA wal_autocheckpoint=0;", true}};
    for (const auto &[what, mode, seen] : rows) {
        SCOPED_TRACE(what);
        QTemporaryDir profile;
        const QString places = profile.filePath("places.sqlite");
        Connection firefox(places);
        firefox.run(FirefoxPlacesFixture::kSchema);
        firefox.run((QByteArray(mode) + "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) "
                                        "VALUES (99, 1, 7, 5, 1, 'Added just now', 'b99');")
                        .constData());
        ASSERT_EQ(QFileInfo(places + "-wal").size() > 0, seen);
        const QByteArray before = TestFiles::read(places), logBefore = TestFiles::read(places + "-wal");

        const BookmarkReadResult result = FirefoxPlacesReader::readFile(places);
        ASSERT_TRUE(result.ok) << result.errorString.toStdString();
        QStringList expected = FirefoxPlacesFixture::kOutline;
        if (seen)
            expected << "  Added just now <https://other.example/>";
        EXPECT_EQ(BookmarkOutline::of(result.tree), expected);
        EXPECT_EQ(result.tree.skipped, 3) << "the separator, the query and the script";
        EXPECT_EQ(result.tree.root.children.at(0).children.at(0).created,
                  QDateTime::fromSecsSinceEpoch(1700000000).date());
        EXPECT_EQ(TestFiles::read(places), before);
        EXPECT_EQ(TestFiles::read(places + "-wal"), logBefore);
    }
}

TEST(FirefoxPlaces, databasesThatAreNotFirefoxsAreRefused)
{
    QTemporaryDir dir;
    const QString other = dir.filePath("other.sqlite");
    Connection(other).run("CREATE TABLE notes (text TEXT);");
    EXPECT_EQ(FirefoxPlacesReader::readFile(other).errorString,
              "The file is not a Firefox bookmarks database: no such table: moz_bookmarks.");
    const QString rootless = dir.filePath("rootless.sqlite");
    Connection(rootless).run(FirefoxPlacesFixture::kSchema);
    Connection(rootless).run("DELETE FROM moz_bookmarks WHERE parent <= 1;");
    EXPECT_EQ(FirefoxPlacesReader::readFile(rootless).errorString,
              "The file holds none of Firefox's bookmark folders.");
    EXPECT_EQ(FirefoxPlacesReader::read(TestFiles::read(rootless)).errorString,
              "The file holds none of Firefox's bookmark folders.");
    EXPECT_EQ(FirefoxPlacesReader::readFile(dir.filePath("missing.sqlite")).errorString, "The file does not exist.");
}

// Profiles in both places Firefox keeps them, relative and absolute, the
// default first; Chromium and Chrome profiles by the names they show.
TEST(BrowserProfilesTest, profilesAreFoundWhereTheBrowsersKeepThem)
{
    QTemporaryDir home;
    const BrowserProfiles::Roots roots{home.path(), home.filePath("config")};
    QTemporaryDir elsewhere;
    for (const QString &profile :
         {home.filePath(".mozilla/firefox/aaa.default"), home.filePath(".mozilla/firefox/bbb.default-release"),
          home.filePath("config/mozilla/firefox/Profiles/ccc.new"), elsewhere.path()})
        ASSERT_TRUE(TestFiles::write(profile + "/places.sqlite", ""));
    ASSERT_TRUE(TestFiles::write(
        home.filePath(".mozilla/firefox/profiles.ini"),
        "[Install4F96D1932A9F858E]\nDefault=bbb.default-release\nLocked=1\n\n"
        "[Profile2]\nName=elsewhere\nIsRelative=0\nPath=" +
            elsewhere.path().toUtf8() +
            "\n\n[Profile1]\nName=default\nIsRelative=1\nPath=aaa.default\nDefault=0\n\n"
            "[Profile0]\nName=default-release\nIsRelative=1\nPath=bbb.default-release\n\n"
            "[Profile3]\nName=no places\nIsRelative=1\nPath=none\n\n[General]\nStartWithLastProfile=1\n"));
    ASSERT_TRUE(TestFiles::write(home.filePath("config/mozilla/firefox/profiles.ini"),
                                 "[Profile0]\r\nName=newer\r\nIsRelative=1\r\nPath=Profiles/ccc.new\r\nDefault=1\r\n"));
    QStringList firefox;
    for (const BrowserProfile &profile : BrowserProfiles::firefox(roots))
        firefox << profile.label();
    EXPECT_EQ(firefox, (Lines{"Firefox: default-release (bbb.default-release)", "Firefox: default (aaa.default)",
                              "Firefox: elsewhere (" + QFileInfo(elsewhere.path()).fileName() + ")",
                              "Firefox: newer (ccc.new)"}));

    ASSERT_TRUE(TestFiles::write(
        home.filePath("config/chromium/Local State"),
        R"({"profile": {"info_cache": {"Default": {"name": "Person 1"}, "Profile 1": {"name": "Work"}}}})"));
    for (const char *profile : {"chromium/Profile 1", "chromium/Default", "google-chrome/Default"})
        ASSERT_TRUE(TestFiles::write(home.filePath("config/") + profile + "/Bookmarks", "{}"));
    ASSERT_TRUE(TestFiles::write(home.filePath("config/chromium/System Profile/Preferences"), "{}"));
    QStringList chromium;
    for (const BrowserProfile &profile : BrowserProfiles::chromium(roots))
        chromium << profile.label() + " -> " + QDir(home.path()).relativeFilePath(profile.bookmarksFile);
    EXPECT_EQ(chromium, (Lines{"Chromium: Person 1 (Default) -> config/chromium/Default/Bookmarks",
                               "Chromium: Work (Profile 1) -> config/chromium/Profile 1/Bookmarks",
                               "Chrome: Default -> config/google-chrome/Default/Bookmarks"}));
}
