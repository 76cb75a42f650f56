#include "browser/FavoritesImport.h"
#include "MainWindowFixture.h"
#include "TestFiles.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmProgress.h"
#include "platform/RegistryFunctions.h"

#include <QDir>
#include <QDirIterator>
#include <QTimer>

#include <sys/fsuid.h>
#include <unistd.h>

namespace {

// A Windows drive built in a temporary folder, its Favorites folders full
// of Internet Shortcuts.
class FavoritesImportTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        writeLibraryBody(LibraryText::folder(1, "Existing", LibraryText::sitePin(1, "Old")));
        pointSettingAt(m_drive.path());
    }

    static void pointSettingAt(const QString &folder)
    {
        RegistryKey key;
        RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_CURRENT_USER,
                                             QString::fromLatin1(TabIndexSetting::kKeyPath), key);
        RegistryFunctions::setRegistryValue(key, QString::fromLatin1(FavoritesImport::kDriveSetting), REG_SZ, folder);
        RegistryFunctions::closeRegistryKey(key);
    }

    QString onDrive(const QString &relative) const { return m_drive.filePath(relative); }
    void shortcut(const QString &relative, const QByteArray &url)
    {
        writeFile(relative, "[InternetShortcut]\r\nURL=" + url + "\r\n");
    }
    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        ASSERT_TRUE(TestFiles::write(onDrive(relative), bytes));
    }
    // Two favourites folders with two shortcuts and a sub-folder holding one.
    void twoProfiles()
    {
        for (const char *user : {"Alice", "Bob"}) {
            const QString favorites = QStringLiteral("Documents and Settings/%1/Favorites/").arg(user);
            shortcut(favorites + "News.url", "http://news.example/a%20b");
            shortcut(favorites + "Mail.url", "http://mail.example/");
            shortcut(favorites + "Links/Wiki.url", "http://wiki.example/");
        }
    }

    void runImport(MessageAnswer answer = MessageAnswer::Yes)
    {
        m_dialogs.answerNext(answer);
        runMenu("mnuFileImportIE");
    }
    QString summary() const { return m_dialogs.shown().empty() ? QString() : m_dialogs.shown().back().request.text; }
    QStringList baseFolders() { return childNames(window().folderTree().rootNode()); }
    XmlNode storedFolder(const QString &name)
    {
        for (const XmlNode &folder : reopenLibrary()->getTheDOM().documentElement().childElements()) {
            if (folder.selectSingleNode("NAME").text() == name)
                return folder;
        }
        return {};
    }
    static QStringList namesIn(const XmlNode &folder, const char *container)
    {
        QStringList names;
        for (const XmlNode &child : folder.selectSingleNode(QString::fromLatin1(container)).childElements())
            names << child.selectSingleNode("NAME").text();
        return names;
    }

    QTemporaryDir m_drive;
};

TEST_F(FavoritesImportTest, twoProfilesBecomeTwoBaseFoldersSavedOnce)
{
    twoProfiles();
    start();
    const QByteArray before = fileBytes();
    runImport();
    const MessageRequest &question = m_dialogs.shown().front().request;
    EXPECT_EQ(question.text, "You are about to import all Internet Explorer favorite folders and Internet shortcuts on "
                             "this computer into SitePins.  Do you wish to proceed?");
    EXPECT_EQ(question.title, "Import favorites?");
    EXPECT_EQ(question.buttons, MessageButtons::YesNo);
    ASSERT_EQ(m_dialogs.shown().size(), 2u) << m_dialogs.shownTexts().join(" | ").toStdString();
    EXPECT_EQ(summary(), "Favorites successfully imported: 2 favorites folders, 4 new folders, 6 new SitePins.");
    EXPECT_EQ(m_dialogs.shown().back().request.title, "SitePins Manager");
    EXPECT_EQ(m_dialogs.shown().back().request.icon, MessageIcon::Information);
    EXPECT_NE(fileBytes(), before);

    EXPECT_EQ(baseFolders(), QStringList({"Existing", "Favorites1", "Favorites2"}));
    EXPECT_EQ(ui().lblTName->caption(), "Favorites2") << "the last imported folder is selected";
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Mail", "News"}));
    EXPECT_TRUE(ui().tvwTopics->isVisible());
    const frmProgress *progress = window().findChild<frmProgress *>();
    EXPECT_TRUE(!progress || !progress->isVisible());

    const XmlNode first = storedFolder("Favorites1");
    EXPECT_EQ(namesIn(first, "SITEPINS"), QStringList({"Mail", "News"})) << "files in name order";
    EXPECT_EQ(namesIn(first, "SUBFOLDERS"), QStringList({"Links"}));
    const XmlNode news = first.selectSingleNode("SITEPINS").childElements().at(1);
    EXPECT_EQ(news.selectSingleNode("ADDRESS").text(), "http://news.example/a b");
    EXPECT_EQ(news.selectSingleNode("CREATED_DATE").text(), "09 Mar 2026");
    EXPECT_EQ(news.selectSingleNode("DESCRIPTION").text(), "");
    EXPECT_EQ(news.selectSingleNode("FAV").text(), "FALSE");
    const XmlNode links = first.selectSingleNode("SUBFOLDERS").firstChildElement();
    EXPECT_EQ(namesIn(links, "SITEPINS"), QStringList({"Wiki"}));
}

// A Favorites folder inside another is found twice; folders outside the
// system and profile folders are never searched, unless a link of the
// profile folder leads there, as on newer drives; a link back up the tree
// is seen once.
TEST_F(FavoritesImportTest, nestedFavoritesTwiceOtherFoldersNeverAndLinksOnce)
{
    shortcut("WINDOWS/Profiles/Carol/Favorites/Outer.url", "http://outer.example/");
    shortcut("WINDOWS/Profiles/Carol/Favorites/Favorites/Inner.url", "http://inner.example/");
    shortcut("Users/Dave/Favorites/Modern.url", "http://modern.example/");
    shortcut("Program Files/Favorites/Program.url", "http://program.example/");
    start();
    runImport();
    EXPECT_EQ(summary(), "Favorites successfully imported: 2 favorites folders, 3 new folders, 3 new SitePins.");

    ASSERT_TRUE(QFile::link(onDrive("Users"), onDrive("Documents and Settings")));
    ASSERT_TRUE(QFile::link(onDrive("Users/Dave"), onDrive("Users/Dave/Favorites/Loop")));
    m_dialogs.forget();
    runImport();
    EXPECT_EQ(summary(), "Favorites successfully imported: 3 favorites folders, 5 new folders, 4 new SitePins.");
    EXPECT_EQ(namesIn(storedFolder("Favorites1"), "SUBFOLDERS"), QStringList({"Favorites"}));
    EXPECT_EQ(namesIn(storedFolder("Favorites2"), "SITEPINS"), QStringList({"Inner"}));
}

TEST_F(FavoritesImportTest, shortcutRulesNamesAndFilesThatAreNotShortcuts)
{
    const QString favorites = QStringLiteral("Documents and Settings/Eve/Favorites/");
    writeFile(favorites + "Based.url", "[DEFAULT]\r\nBASEURL=http://base.example/\r\n[InternetShortcut]\r\n"
                                       "URL=http://page.example/\r\n");
    writeFile(favorites + "Caf\xc3\xa9.url", "URL=http://caf\xe9.example/\r\n");
    writeFile(favorites + "NoAddress.url", "[InternetShortcut]\r\n");
    writeFile(favorites + "Notes.txt", "URL=http://text.example/\r\n");
    writeFile(favorites + "Huge.url", "URL=http://huge.example/\r\n" + QByteArray(65 * 1024, ' '));
    writeFile(favorites + "Old.ini", "URL=http://ini.example/\r\n");
    start();
    runImport();
    EXPECT_EQ(summary(), "Favorites successfully imported: 1 favorites folders, 1 new folders, 3 new SitePins.");
    const XmlNode imported = storedFolder("Favorites1");
    EXPECT_EQ(namesIn(imported, "SITEPINS"), QStringList({"Based", QString::fromUtf8("Café"), "Old"}));
    const std::vector<XmlNode> sitePins = imported.selectSingleNode("SITEPINS").childElements();
    EXPECT_EQ(sitePins.at(0).selectSingleNode("ADDRESS").text(), "http://page.example/");
    EXPECT_EQ(sitePins.at(1).selectSingleNode("ADDRESS").text(), QString::fromUtf8("http://café.example/"));
}

TEST_F(FavoritesImportTest, answeringNoOrFindingNoDriveChangesNothing)
{
    twoProfiles();
    start();
    const QByteArray before = fileBytes();
    runImport(MessageAnswer::No);
    EXPECT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(baseFolders(), QStringList({"Existing"}));

    if (!QFileInfo::exists("/mnt/c") && !QFileInfo::exists(QDir::home().filePath(".wine/drive_c"))) {
        pointSettingAt(m_drive.filePath("missing"));
        m_dialogs.forget();
        runImport();
        ASSERT_EQ(m_dialogs.shown().size(), 2u);
        EXPECT_EQ(m_dialogs.shown().back().request.text, "C:\\ not found");
        EXPECT_EQ(m_dialogs.shown().back().request.title, "SitePins");
        EXPECT_EQ(fileBytes(), before);
        EXPECT_TRUE(ui().tvwTopics->isVisible());
    }
}

TEST_F(FavoritesImportTest, anEmptyDriveAndOneWithoutFavoritesSaySoAndReportZeros)
{
    start();
    runImport();
    EXPECT_EQ(m_dialogs.shownTexts().mid(1),
              QStringList({"C:\\ has no sub-folders",
                           "The Internet Explorer Favorites directory could not be located on C:\\",
                           "Favorites successfully imported: 0 favorites folders, 0 new folders, 0 new SitePins."}));

    QDir(m_drive.path()).mkpath("WINDOWS/System");
    m_dialogs.forget();
    runImport();
    EXPECT_EQ(m_dialogs.shownTexts().mid(1),
              QStringList({"The Internet Explorer Favorites directory could not be located on C:\\",
                           "Favorites successfully imported: 0 favorites folders, 0 new folders, 0 new SitePins."}));
}

// Root reads any folder whatever its mode; taking an ordinary user's file
// system identity, for this thread only, makes the mode count.
class ReadAsOrdinaryUser
{
public:
    ReadAsOrdinaryUser()
        : m_root(::geteuid() == 0)
    {
        if (m_root) {
            ::setfsgid(65534);
            ::setfsuid(65534);
        }
    }
    ~ReadAsOrdinaryUser()
    {
        if (m_root) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }

private:
    bool m_root;
};

// The folder, everything in it and the folders above it.
void openToEveryone(const QString &top)
{
    const QFile::Permissions all(0x7777);
    QDirIterator below(top, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (below.hasNext())
        QFile::setPermissions(below.next(), all);
    for (QString path = top; path != QLatin1String("/"); path = QFileInfo(path).absolutePath())
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOther | QFile::ExeOther | QFile::WriteOther);
}

TEST_F(FavoritesImportTest, anUnreadableFolderIsLeftOutAndCounted)
{
    twoProfiles();
    shortcut("Documents and Settings/Alice/Favorites/Locked/Secret.url", "http://secret.example/");
    start();
    // Everything but the locked folder must stay usable to an ordinary user.
    for (const QString &path : {m_drive.path(), programFolder(), QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))})
        openToEveryone(path);
    const QString locked = onDrive("Documents and Settings/Alice/Favorites/Locked");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::Permissions()));
    {
        ReadAsOrdinaryUser ordinary;
        runImport();
    }
    QFile::setPermissions(locked, QFile::Permissions(0x7777));
    EXPECT_EQ(summary(), "Favorites successfully imported: 2 favorites folders, 4 new folders, 6 new SitePins. 1 "
                         "folders or files could not be read and were left out.");
    EXPECT_EQ(namesIn(storedFolder("Favorites1"), "SUBFOLDERS"), QStringList({"Links"}));
}

TEST_F(FavoritesImportTest, cancelInTheProgressWindowSavesNothing)
{
    for (int i = 0; i < 1500; ++i)
        shortcut(QStringLiteral("Documents and Settings/Fay/Favorites/Page%1.url").arg(i, 4, 10, QLatin1Char('0')),
                 "http://page.example/");
    start();
    const QByteArray before = fileBytes();
    QTimer poll;
    bool cancelled = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *progress = window().findChild<frmProgress *>();
        if (!progress || progress->lblName2()->text().isEmpty() || cancelled)
            return;
        cancelled = true;
        EXPECT_TRUE(progress->isVisible());
        EXPECT_EQ(progress->windowTitle(), "Loading...");
        QTest::mouseClick(progress->cmdCancel(), Qt::LeftButton);
    });
    poll.start(1);
    runImport();
    poll.stop();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(m_dialogs.shown().size(), 1u) << m_dialogs.shownTexts().join(" | ").toStdString();
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(baseFolders(), QStringList({"Existing"}));
    EXPECT_EQ(window().getMyDB().countElements("FOLDER"), 1);
    EXPECT_TRUE(ui().tvwTopics->isVisible());
}

// What fits is imported and saved; the rest is left out with a message.
TEST_F(FavoritesImportTest, runningOutOfIdentifiersStopsCleanlyWithWhatFitSaved)
{
    shortcut("Documents and Settings/Gil/Favorites/A.url", "http://a.example/");
    shortcut("Documents and Settings/Gil/Favorites/B.url", "http://b.example/");
    QString full;
    for (int wid = 1; wid < 32767; ++wid)
        full += LibraryText::sitePin(wid, "P");
    writeLibraryBody(LibraryText::folder(1, "Existing", full));
    start();
    runImport();
    ASSERT_EQ(m_dialogs.shown().size(), 3u) << m_dialogs.shownTexts().join(" | ").toStdString();
    EXPECT_EQ(m_dialogs.shown().at(1).request.text,
              "The import stopped early: the library already holds the largest number of folders or SitePins it can "
              "number (32767). What was imported until then has been saved.");
    EXPECT_EQ(summary(), "Favorites successfully imported: 1 favorites folders, 1 new folders, 1 new SitePins.");
    EXPECT_EQ(namesIn(storedFolder("Favorites1"), "SITEPINS"), QStringList({"A"}));
}

} // namespace
