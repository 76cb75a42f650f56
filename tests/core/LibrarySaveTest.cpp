#include "LibraryText.h"
#include "TestEnvironment.h"
#include "store/XMLDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using L = LibraryText;

// Sets the file's modification time `seconds` into the past.
void ageFile(const QString &path, int seconds)
{
    const timespec past[2] = {{std::time(nullptr) - seconds, 0}, {std::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), past, AT_SYMLINK_NOFOLLOW), 0)
        << path.toStdString();
}

class LibrarySaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(L::writeFile(m_path, L::document(L::folder(1, "Work", L::sitePin(1, "Old name")))));
        ASSERT_TRUE(m_db.openDBValidate(m_path));
        m_before = L::readFile(m_path);
        rename(QString(4000, QLatin1Char('x'))); // the new document is larger than the old file
    }
    void rename(const QString &name) { m_db.getTheDOM().nodeFromID("W1").selectSingleNode("NAME").setText(name); }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("SitePins.xml");
    XMLDatabase m_db;
    QByteArray m_before;
};

} // namespace

// A short write on a full disk was once reported as success and a truncated
// library renamed over the good one.
TEST_F(LibrarySaveTest, aFailedSaveReportsTheErrorAndKeepsTheOldFile)
{
    const XmlDocument dom = m_db.getTheDOM();
    const QString folder = m_dir.path(), path = m_path;
    // Each sets up the failure in a child process, so limits and identities stay there.
    const std::function<bool()> obstacles[] = {
        [&] { // a read-only folder; permission bits do not stop root, so write as an ordinary user
            return QFile::setPermissions(folder, QFile::Permissions(0x5055)) && // r-x for everyone
                   (geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0));
        },
        [] { // a full disk: a write past the limit then fails with EFBIG
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{2048, 2048};
            return setrlimit(RLIMIT_FSIZE, &limit) == 0;
        }};
    for (const auto &obstacle : obstacles) {
        const pid_t pid = fork();
        if (pid == 0) {
            if (!obstacle())
                _exit(3);
            const SaveResult result = dom.save(path);
            _exit(result.ok ? 1 : result.errorString.isEmpty() ? 2 : 0);
        }
        int status = -1;
        waitpid(pid, &status, 0);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(status, 0) << "exit 0: failed with a message; 1: saved; 2: failed silently; 3: no set-up";
        EXPECT_EQ(L::readFile(m_path), m_before);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"SitePins.xml"}))
            << "no temporary file is left behind";
    }
}

// A save killed at any moment must leave either the old or the new document.
TEST(LibrarySaveKilled, neverLeavesALibraryThatFailsToOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("SitePins.xml");
    QString pins;
    for (int wid = 1; wid <= 20000; ++wid)
        pins += L::sitePin(wid, QStringLiteral("SitePin number %1").arg(wid),
                           QStringLiteral("https://example.org/pages/%1?ref=bench").arg(wid), "notes");
    ASSERT_TRUE(L::writeFile(path, L::document(L::folder(1, "All", pins))));

    for (int run = 0; run < 25; ++run) {
        QProcess saver;
        saver.start(TestEnvironment::toolPath("library_saver"), {path});
        ASSERT_TRUE(saver.waitForReadyRead(20000)) << "run " << run;
        QThread::msleep(QRandomGenerator::global()->bounded(5, 250));
        ::kill(pid_t(saver.processId()), SIGKILL);
        saver.waitForFinished();

        XMLDatabase db;
        ASSERT_TRUE(db.openDBValidate(path)) << "run " << run << ": " << db.lastOpenError().toStdString();
        EXPECT_EQ(db.getTheDOM().documentElement().countElementsByTagName("SITEPIN"), 20000);
    }
    // What the killed saves left is cleared away by the next open, once it
    // is old enough that no save can still be writing it.
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
        ageFile(dir.filePath(name), 120);
    XMLDatabase db;
    ASSERT_TRUE(db.openDBValidate(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"SitePins.xml"}));
}

struct LeftoverCase
{
    const char *name;
    int ageSeconds;
    bool held; // a save is still writing it
    bool removed;
};

// Only what a killed save of this very library left, and only once it is
// abandoned: never a file of another name or kind, a young one, or one a
// running save holds.
TEST(LibraryLeftovers, theOpenRemovesOnlyAbandonedTemporariesOfTheLibrary)
{
    const LeftoverCase cases[] = {
        {".SitePins.xml.a1B2c3", 120, false, true},  {".SitePins.xml.Zz9Yy8", 61, false, true},
        {".SitePins.xml.a1B2c4", 10, false, false},  {".SitePins.xml.a1B2c5", 120, true, false},
        {".SitePins.xml.a1B2c", 120, false, false},  {".SitePins.xml.a1B2c3d", 120, false, false},
        {".SitePins.xml.a1-2c3", 120, false, false}, {".Other.xml.a1B2c3", 120, false, false},
        {"SitePins.xml.a1B2c3", 120, false, false},  {".SitePins.xml.lock", 120, false, false},
        {".SitePins.xml.in-use", 120, false, false}, {".sitepins.xml.a1B2c3", 120, false, false},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("SitePins.xml");
    ASSERT_TRUE(L::writeFile(path, L::document(L::folder(1, "Work"))));
    std::vector<int> locks;
    for (const LeftoverCase &c : cases) {
        const QString file = dir.filePath(c.name);
        ASSERT_TRUE(L::writeFile(file, "half a library"));
        ageFile(file, c.ageSeconds);
        if (c.held) {
            locks.push_back(::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC));
            ASSERT_EQ(::flock(locks.back(), LOCK_EX), 0);
        }
    }
    // Of the right shape but no file: a folder, and a link to a file elsewhere.
    ASSERT_TRUE(QDir(dir.path()).mkdir(".SitePins.xml.Folder"));
    ageFile(dir.filePath(".SitePins.xml.Folder"), 120);
    QTemporaryDir elsewhere;
    ASSERT_TRUE(L::writeFile(elsewhere.filePath("precious"), "keep"));
    ASSERT_TRUE(QFile::link(elsewhere.filePath("precious"), dir.filePath(".SitePins.xml.Linked")));

    XMLDatabase db;
    ASSERT_TRUE(db.openDBValidate(path));
    for (const LeftoverCase &c : cases)
        EXPECT_NE(QFileInfo::exists(dir.filePath(c.name)), c.removed) << c.name;
    EXPECT_TRUE(QFileInfo(dir.filePath(".SitePins.xml.Folder")).isDir());
    EXPECT_TRUE(QFileInfo(dir.filePath(".SitePins.xml.Linked")).isSymLink());
    EXPECT_EQ(L::readFile(elsewhere.filePath("precious")), "keep");
    for (int fd : locks)
        ::close(fd);

    // A library that does not open leaves everything where it is.
    const QString old = dir.filePath(".SitePins.xml.a1B2c4");
    ageFile(old, 120);
    ASSERT_TRUE(L::writeFile(path, "<FOLDERS>"));
    EXPECT_FALSE(db.openDBValidate(path));
    EXPECT_TRUE(QFileInfo::exists(old));
}

// Links stay links and the file they lead to is replaced, its permissions
// kept. Only the first link used to be followed: the second was replaced by
// a plain file and the library itself kept its old content.
TEST_F(LibrarySaveTest, savingKeepsThePermissionsAndWritesThroughAChainOfLinks)
{
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(m_path, permissions));
    ASSERT_TRUE(m_db.getTheDOM().save(m_path).ok);
    EXPECT_EQ(QFileInfo(m_path).permissions() & 0x7077, permissions & 0x7077); // owner, group, other

    const QString link1 = m_dir.filePath("link1.xml"), link2 = m_dir.filePath("link2.xml");
    ASSERT_EQ(::symlink("SitePins.xml", QFile::encodeName(link2).constData()), 0); // relative to its folder
    ASSERT_TRUE(QFile::link(link2, link1));
    rename("through two links");
    ASSERT_TRUE(m_db.getTheDOM().save(link1).ok);
    EXPECT_EQ(QFileInfo(link1).symLinkTarget(), link2);
    EXPECT_EQ(QFileInfo(link2).symLinkTarget(), m_path);
    EXPECT_TRUE(L::readFile(m_path).contains("through two links"));
    EXPECT_EQ(QFileInfo(m_path).permissions() & 0x7077, permissions & 0x7077);

    const QString circle1 = m_dir.filePath("circle1.xml"), circle2 = m_dir.filePath("circle2.xml");
    ASSERT_TRUE(QFile::link(circle1, circle2));
    ASSERT_TRUE(QFile::link(circle2, circle1));
    const SaveResult result = m_db.getTheDOM().save(circle1);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.errorString.contains("circle1.xml")) << result.errorString.toStdString();
    EXPECT_TRUE(QFileInfo(circle1).isSymLink());
}

// Root may write any file, so the mode decides, not a failed open.
TEST_F(LibrarySaveTest, ReadOnlyLibraryRefusesSave)
{
    const QString link = m_dir.filePath("link.xml");
    ASSERT_TRUE(QFile::link(m_path, link));
    ASSERT_EQ(::chmod(QFile::encodeName(m_path).constData(), 0444), 0);
    for (const QString &path : {m_path, link}) {
        const SaveResult result = m_db.getTheDOM().save(path);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errorString, QString("The SitePins file %1 is read-only.").arg(m_path));
        EXPECT_EQ(L::readFile(m_path), m_before);
        EXPECT_EQ(QFileInfo(m_path).permissions() & 0x7077, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(m_path).constData(), 0644), 0);
    ASSERT_TRUE(m_db.getTheDOM().save(m_path).ok) << "the change kept in memory is written once it may be";
    EXPECT_TRUE(L::readFile(m_path).contains(QByteArray(4000, 'x')));
}
