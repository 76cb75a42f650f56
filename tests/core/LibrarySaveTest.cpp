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
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class LibrarySaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.filePath("SitePins.xml");
        ASSERT_TRUE(LibraryText::writeFile(
            m_path, LibraryText::document(LibraryText::folder(1, "Work", LibraryText::sitePin(1, "Old name")))));
        ASSERT_TRUE(m_db.openDBValidate(m_path));
        m_before = LibraryText::readFile(m_path);
        renameSitePin(QString(4000, QLatin1Char('x'))); // the new document is larger than the old file
    }

    void renameSitePin(const QString &name)
    {
        m_db.getTheDOM().nodeFromID("W1").selectSingleNode("NAME").setText(name);
    }

    QStringList filesInFolder() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

    // Runs `attempt` in a child process (so limits and identities stay there)
    // and returns its exit status.
    template<typename Attempt>
    int inChild(Attempt attempt)
    {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(attempt());
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
    }

    QTemporaryDir m_dir;
    QString m_path;
    XMLDatabase m_db;
    QByteArray m_before;
};

constexpr int kSaveFailedWithMessage = 0;
constexpr int kSaveSucceeded = 1;
constexpr int kSaveFailedSilently = 2;

int exitCodeFor(const SaveResult &result)
{
    if (result.ok)
        return kSaveSucceeded;
    return result.errorString.isEmpty() ? kSaveFailedSilently : kSaveFailedWithMessage;
}

} // namespace

TEST_F(LibrarySaveTest, readOnlyFolderReportsTheFailureAndKeepsTheOldFile)
{
    const XmlDocument dom = m_db.getTheDOM();
    const QString path = m_path;
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                            QFile::ReadOther | QFile::ExeOther);
    const int status = inChild([&] {
        // Permission bits do not stop root; write as an ordinary user instead.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 3;
        return exitCodeFor(dom.save(path));
    });
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(status, kSaveFailedWithMessage);
    EXPECT_EQ(LibraryText::readFile(m_path), m_before);
    EXPECT_EQ(filesInFolder(), QStringList({"SitePins.xml"}));
}

// A short write on a full disk was once reported as success and a truncated
// library renamed over the good one.
TEST_F(LibrarySaveTest, fullDiskReportsTheFailureAndKeepsTheOldFile)
{
    const XmlDocument dom = m_db.getTheDOM();
    const QString path = m_path;
    const int status = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG, as on a full disk
        const rlimit limit{2048, 2048};
        setrlimit(RLIMIT_FSIZE, &limit);
        return exitCodeFor(dom.save(path));
    });
    EXPECT_EQ(status, kSaveFailedWithMessage);
    EXPECT_EQ(LibraryText::readFile(m_path), m_before);
    EXPECT_EQ(filesInFolder(), QStringList({"SitePins.xml"})) << "no temporary file is left behind";
}

TEST_F(LibrarySaveTest, savingKeepsTheFilePermissions)
{
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(m_path, permissions));
    ASSERT_TRUE(m_db.getTheDOM().save(m_path).ok);
    EXPECT_EQ(QFileInfo(m_path).permissions() & 0x7077, permissions & 0x7077); // owner, group, other
}

TEST_F(LibrarySaveTest, savingThroughASymlinkReplacesTheTargetAndKeepsTheLink)
{
    const QString link = m_dir.filePath("link.xml");
    ASSERT_TRUE(QFile::link(m_path, link));
    ASSERT_TRUE(m_db.getTheDOM().save(link).ok);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(LibraryText::readFile(m_path).contains(QByteArray(4000, 'x')));
}

// A save killed at any moment must leave either the old or the new document.
TEST(LibrarySaveKilled, neverLeavesALibraryThatFailsToOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("SitePins.xml");
    QString pins;
    for (int wid = 1; wid <= 20000; ++wid)
        pins += LibraryText::sitePin(wid, QStringLiteral("SitePin number %1").arg(wid),
                                     QStringLiteral("https://example.org/pages/%1?ref=bench").arg(wid), "notes");
    ASSERT_TRUE(LibraryText::writeFile(path, LibraryText::document(LibraryText::folder(1, "All", pins))));

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
}
