#include "MainWindowFixture.h"
#include "ModalDialog.h"
#include "TestEnvironment.h"
#include "mainwindow/LibraryKeeper.h"
#include "store/LibraryWatch.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QSysInfo>

#include <sys/stat.h>

namespace {

using LT = LibraryText;

const QString kLibrary = LT::folder(1, "Work", LT::sitePin(1, "Wiki", "http://wiki/")) + LT::folder(2, "Home");
const QString kChanged = QString::fromLatin1(LibraryKeeper::kChangedElsewhereText);
const QString kOverwrite = QString::fromLatin1(LibraryKeeper::kOverwriteText);

enum class Writer
{
    InPlace, // an editor that writes the file itself
    Rename,  // a sync tool that renames a finished copy over it
};

class LibrarySafetyTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        m_environment.today = [this] {
            return m_today;
        };
        m_environment.saveLockWaitMs = 100;
    }

    QString backupsFolder() const { return programFolder() + "/MySitePins/backups"; }
    QString dailyBackup(const QDate &day) const
    {
        return backupsFolder() + "/SitePins-" + day.toString("yyyy-MM-dd") + ".xml";
    }
    QStringList backupNames() const { return QDir(backupsFolder()).entryList(QDir::Files, QDir::Name); }

    // One save, through the editor: a new SitePin in Work.
    void addSitePin(const QString &name)
    {
        clickFolder("Work");
        runMenu("mnuAddSitePin");
        QTest::keyClicks(ui().txtWName, name);
        clickToolbarButton(20);
    }

    void changeOutside(const QString &body, Writer writer = Writer::Rename)
    {
        const QString text = LT::document(body);
        const QString copy = programFolder() + "/MySitePins/SitePins.xml.synced";
        ASSERT_TRUE(LT::writeFile(writer == Writer::InPlace ? libraryPath() : copy, text));
        if (writer == Writer::InPlace)
            return;
        ASSERT_EQ(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(libraryPath()).constData()), 0);
    }

    bool waitForMessages(std::size_t count)
    {
        return QTest::qWaitFor([&] { return m_dialogs.shown().size() >= count; }, 5000);
    }
    // Long enough for the watch to have looked at the file.
    static void letTheWatchLook() { QTest::qWait(LibraryWatch::kSettleMs * 4); }

    // Picks `row` of the restore dialog and restores it; the rows as shown.
    QList<QStringList> restoreRow(int row)
    {
        QList<QStringList> rows;
        const bool shown =
            withModalDialog([&] { runMenu("mnuFileRestore"); },
                            [&](QDialog &dialog) {
                                auto *list = dialog.findChild<QTreeWidget *>("lvwBackups");
                                ASSERT_TRUE(list);
                                for (int i = 0; i < list->topLevelItemCount(); ++i) {
                                    QStringList cells;
                                    for (int column = 0; column < 4; ++column)
                                        cells << list->topLevelItem(i)->text(column);
                                    rows << cells;
                                }
                                clickItem(list, list->topLevelItem(row));
                                QTest::mouseClick(dialog.findChild<QPushButton *>("cmdRestore"), Qt::LeftButton);
                            });
        EXPECT_TRUE(shown);
        return rows;
    }

    QDate m_today{2026, 3, 9};
};

QString sizeText(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

// The day's backup holds the library as the day found it, private when the
// library is; fifteen days are kept, and files that are not backups stay.
TEST_F(LibrarySafetyTest, theFirstSaveOfEachDayBacksUpTheLibraryAndFifteenDaysAreKept)
{
    writeLibraryBody(kLibrary);
    ASSERT_EQ(::chmod(QFile::encodeName(libraryPath()).constData(), 0600), 0);
    start();
    const QByteArray morning = fileBytes();
    addSitePin("First");
    EXPECT_EQ(backupNames(), QStringList{"SitePins-2026-03-09.xml"});
    EXPECT_EQ(LT::readFile(dailyBackup(m_today)), morning);
    EXPECT_EQ(QFileInfo(dailyBackup(m_today)).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    addSitePin("Second");
    EXPECT_EQ(backupNames(), QStringList{"SitePins-2026-03-09.xml"});
    EXPECT_EQ(LT::readFile(dailyBackup(m_today)), morning) << "the second save keeps the morning's copy";
    EXPECT_TRUE(fileBytes().contains("Second"));

    ASSERT_TRUE(LT::writeFile(backupsFolder() + "/notes.txt", "mine"));
    ASSERT_TRUE(LT::writeFile(backupsFolder() + "/Other-2026-01-01.xml", "another library's"));
    const QDate first = m_today;
    for (int day = 1; day <= 15; ++day) {
        m_today = first.addDays(day);
        const QByteArray before = fileBytes();
        addSitePin(QStringLiteral("Day %1").arg(day));
        EXPECT_EQ(LT::readFile(dailyBackup(m_today)), before) << day;
    }
    const QStringList names = backupNames();
    EXPECT_EQ(names.size(), 15 + 2);
    EXPECT_FALSE(QFileInfo::exists(dailyBackup(first))) << "the sixteenth day removes the oldest";
    EXPECT_TRUE(QFileInfo::exists(dailyBackup(first.addDays(1))));
    EXPECT_TRUE(names.contains("notes.txt") && names.contains("Other-2026-01-01.xml"));
    EXPECT_TRUE(m_dialogs.shown().empty()) << m_dialogs.shownTexts().join(" | ").toStdString();
}

// Root too: the write permission bits decide, as for the library itself.
TEST_F(LibrarySafetyTest, aBackupThatCannotBeWrittenIsShownInTheStatusBarAndTheSaveGoesOn)
{
    startWith(kLibrary);
    ASSERT_TRUE(QDir().mkpath(backupsFolder()));
    ASSERT_EQ(::chmod(QFile::encodeName(backupsFolder()).constData(), 0555), 0);
    addSitePin("First");
    addSitePin("Second");
    EXPECT_TRUE(m_dialogs.shown().empty()) << "never a message box in the way of the save";
    EXPECT_TRUE(fileBytes().contains("Second"));
    EXPECT_EQ(ui().StatusBar1->panelText(3), "No backup");
    EXPECT_EQ(ui().StatusBar1->panel(3)->toolTip(),
              "The day's backup of the SitePins file could not be written: The folder " + backupsFolder() +
                  " is read-only.");
    EXPECT_TRUE(backupNames().isEmpty());

    ASSERT_EQ(::chmod(QFile::encodeName(backupsFolder()).constData(), 0755), 0);
    addSitePin("Third");
    EXPECT_EQ(backupNames(), QStringList{"SitePins-2026-03-09.xml"});
    EXPECT_EQ(ui().StatusBar1->panelText(3), "");
}

// Restoring keeps the library as it was in a backup of its own, so a
// restore can itself be undone.
TEST_F(LibrarySafetyTest, restoringABackupAndRestoringBackAgain)
{
    startWith(kLibrary);
    const QByteArray morning = fileBytes();
    addSitePin("Added today");
    const QByteArray evening = fileBytes();

    const QList<QStringList> offered = restoreRow(0);
    EXPECT_EQ(offered, QList<QStringList>({{"2026-03-09", sizeText(morning.size()), "2", "1"}}));
    EXPECT_EQ(fileBytes(), morning);
    EXPECT_EQ(window().m_strLibraryPath, libraryPath());
    clickFolder("Work");
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList{"Wiki"});

    const QList<QStringList> afterRestore = restoreRow(0);
    ASSERT_EQ(afterRestore.size(), 2);
    EXPECT_TRUE(afterRestore[0][0].startsWith("2026-03-09 ")) << afterRestore[0][0].toStdString();
    EXPECT_TRUE(afterRestore[0][0].endsWith(" (before a restore)"));
    EXPECT_EQ(afterRestore[0].mid(1), QStringList({sizeText(evening.size()), "2", "2"}));
    EXPECT_EQ(fileBytes(), evening);
    clickFolder("Work");
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Added today", "Wiki"}));

    letTheWatchLook();
    EXPECT_TRUE(m_dialogs.shown().empty()) << m_dialogs.shownTexts().join(" | ").toStdString();
}

TEST_F(LibrarySafetyTest, restoringAsksWhileEditingAndSaysWhenThereIsNothingToRestore)
{
    startWith(kLibrary);
    runMenu("mnuFileRestore");
    expectOnlyMessage("There are no backups of the SitePins file " + libraryPath() + " yet.", "SitePins");

    m_dialogs.forget();
    runMenu("mnuAddSitePin");
    EXPECT_FALSE(isEnabled("mnuFileRestore")) << "locked while editing, as File > Open is";
    m_dialogs.answerNext(MessageAnswer::No);
    window().keeper().mnuFileRestore_Click();
    expectOnlyMessage("Opening a new SitePins file will lose any unsaved changes.  Are you sure?",
                      "Exit SitePins application?", MessageButtons::YesNo);
    EXPECT_TRUE(window().m_blnEditMode);
}

// What backups are for: a library that no longer opens.
TEST_F(LibrarySafetyTest, aLibraryThatNoLongerOpensIsRestoredFromTheDegradedWindow)
{
    writeLibraryBody(kLibrary);
    ASSERT_TRUE(QDir().mkpath(backupsFolder()));
    ASSERT_TRUE(QFile::copy(libraryPath(), dailyBackup(m_today.addDays(-1))));
    const QByteArray good = fileBytes();
    writeLibrary("<FOLDERS><FOLDER>");
    start();
    ASSERT_TRUE(window().isDegraded());
    EXPECT_TRUE(isEnabled("mnuFileRestore"));
    m_dialogs.forget();
    restoreRow(0);
    EXPECT_FALSE(window().isDegraded());
    EXPECT_EQ(fileBytes(), good);
    EXPECT_EQ(childNames(ui().tvwTopics->topLevelItem(0)), QStringList({"Home", "Work"}));
    ASSERT_EQ(backupNames().size(), 2);
    EXPECT_EQ(LT::readFile(backupsFolder() + "/" + backupNames().last()), "<FOLDERS><FOLDER>")
        << "the broken file is kept too";
}

struct ReloadCase
{
    const char *selected;
    QStringList listedAfter;
    const char *folderAfter;
};

class ChangedElsewhere : public LibrarySafetyTest, public ::testing::WithParamInterface<ReloadCase>
{
};

// Yes reloads as File > Open would, but the folder the user was in stays
// selected while it still exists.
TEST_P(ChangedElsewhere, whileBrowsingIsAskedAndYesReloads)
{
    startWith(kLibrary);
    clickFolder(GetParam().selected);
    m_dialogs.answerNext(MessageAnswer::Yes);
    changeOutside(LT::folder(1, "Work", LT::sitePin(1, "Wiki") + LT::sitePin(2, "Synced")) + LT::folder(3, "Travel"));
    ASSERT_TRUE(waitForMessages(1));
    expectOnlyMessage(kChanged, "SitePins Manager", MessageButtons::YesNo, MessageIcon::Question);
    EXPECT_EQ(childNames(ui().tvwTopics->topLevelItem(0)), QStringList({"Travel", "Work"}));
    EXPECT_EQ(entryNames(ui().tvwWM), GetParam().listedAfter);
    EXPECT_EQ(window().folderTree().selectedNode()->text(0), GetParam().folderAfter);
    letTheWatchLook();
    EXPECT_EQ(m_dialogs.shown().size(), 1u) << "reloading is no change of its own";
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangedElsewhere,
                         ::testing::Values(ReloadCase{"Work", {"Synced", "Wiki"}, "Work"},
                                           ReloadCase{"Home", {}, "FOLDERS"}),
                         [](const auto &info) { return std::string(info.param.selected); });

// The edit is not interrupted. Its save would replace the other change, so
// it asks first; No to both questions keeps what is shown, and the next
// save asks again.
TEST_F(LibrarySafetyTest, aChangeMadeOutsideWhileEditingIsAskedAboutWhenTheEditEnds)
{
    startWith(kLibrary);
    clickFolder("Work");
    runMenu("mnuAddSitePin");
    QTest::keyClicks(ui().txtWName, "Mine");
    changeOutside(LT::folder(1, "Work", LT::sitePin(1, "Wiki") + LT::sitePin(7, "Theirs")) + LT::folder(2, "Home"));
    letTheWatchLook();
    EXPECT_TRUE(m_dialogs.shown().empty()) << "not while the edit is open";

    m_dialogs.answerNext(MessageAnswer::No); // save over theirs?
    m_dialogs.answerNext(MessageAnswer::No); // reload?
    clickToolbarButton(20);
    ASSERT_TRUE(waitForMessages(2));
    EXPECT_EQ(m_dialogs.shownTexts(), QStringList({kOverwrite, kChanged}));
    EXPECT_EQ(m_dialogs.shown().front().request.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(fileBytes().contains("Theirs"));
    EXPECT_FALSE(fileBytes().contains("Mine"));
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Mine", "Wiki"}));

    m_dialogs.forget();
    m_dialogs.answerNext(MessageAnswer::Yes);
    addSitePin("Mine too");
    expectOnlyMessage(kOverwrite, "SitePins Manager", MessageButtons::YesNo, MessageIcon::Exclamation);
    EXPECT_TRUE(fileBytes().contains("Mine too"));
    EXPECT_FALSE(fileBytes().contains("Theirs"));
    letTheWatchLook();
    EXPECT_EQ(m_dialogs.shown().size(), 1u);
}

TEST_F(LibrarySafetyTest, aCancelledEditAsksAfterwardsAndYesShowsTheOtherChange)
{
    startWith(kLibrary);
    clickFolder("Work");
    runMenu("mnuAddSitePin");
    changeOutside(LT::folder(1, "Work", LT::sitePin(1, "Wiki") + LT::sitePin(7, "Theirs")), Writer::InPlace);
    letTheWatchLook();
    EXPECT_TRUE(m_dialogs.shown().empty());
    m_dialogs.answerNext(MessageAnswer::Yes); // lose the edit?
    m_dialogs.answerNext(MessageAnswer::Yes); // reload?
    clickToolbarButton(21);
    ASSERT_TRUE(waitForMessages(2));
    EXPECT_EQ(m_dialogs.shownTexts(),
              QStringList({"You are about to lose unsaved changes - do you wish to continue?", kChanged}));
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Theirs", "Wiki"}));
}

// Every save renames a new file over the old one; the watch must follow
// each time, whoever wrote last and however.
TEST_F(LibrarySafetyTest, ownSavesNeverAskAndTheWatchFollowsEveryReplacedFile)
{
    startWith(kLibrary);
    addSitePin("Mine");
    letTheWatchLook();
    EXPECT_TRUE(m_dialogs.shown().empty()) << "our own save";
    int round = 0;
    for (const Writer writer : {Writer::InPlace, Writer::Rename, Writer::Rename, Writer::InPlace}) {
        m_dialogs.forget();
        m_dialogs.answerNext(MessageAnswer::No);
        changeOutside(LT::folder(1, "Work", LT::sitePin(1, QStringLiteral("Round %1").arg(++round))), writer);
        ASSERT_TRUE(waitForMessages(1)) << round;
        expectOnlyMessage(kChanged, "SitePins Manager", MessageButtons::YesNo, MessageIcon::Question);
    }
    m_dialogs.forget();
    changeOutside(LT::folder(1, "Work", LT::sitePin(1, "Round 4")), Writer::Rename);
    letTheWatchLook();
    EXPECT_TRUE(m_dialogs.shown().empty()) << "the same bytes again are no change";
}

TEST_F(LibrarySafetyTest, anotherProgramHoldingTheLibraryIsToldOfAndItsSaveIsWaitedFor)
{
    writeLibraryBody(kLibrary);
    QProcess holder;
    holder.start(TestEnvironment::toolPath("library_holder"), {libraryPath(), "open"});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    start();
    expectOnlyMessage(QString("The SitePins file %1 is also open in another SitePins Manager (process %2 on %3).\n\n"
                              "Changes saved there are offered here for reloading, and a save here asks before it "
                              "replaces them.")
                          .arg(libraryPath())
                          .arg(holder.processId())
                          .arg(QSysInfo::machineHostName()),
                      "SitePins Manager", MessageButtons::Ok, MessageIcon::Exclamation);
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(10000));

    QProcess saver;
    saver.start(TestEnvironment::toolPath("library_holder"), {libraryPath(), "saving"});
    ASSERT_TRUE(saver.waitForReadyRead(10000));
    m_dialogs.forget();
    const QByteArray before = fileBytes();
    addSitePin("Mine");
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_TRUE(m_dialogs.lastText().contains(QString("Another program (process %1 on %2) is saving the SitePins file")
                                                  .arg(saver.processId())
                                                  .arg(QSysInfo::machineHostName())))
        << m_dialogs.lastText().toStdString();
    EXPECT_EQ(fileBytes(), before);
    saver.closeWriteChannel();
    ASSERT_TRUE(saver.waitForFinished(10000));
    m_dialogs.forget();
    addSitePin("Mine too");
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_TRUE(fileBytes().contains("Mine too"));
    EXPECT_TRUE(fileBytes().contains("Mine<")) << "the change kept in memory is saved with the next";
}
