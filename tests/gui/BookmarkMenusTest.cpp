#include "BookmarkOutline.h"
#include "FirefoxPlacesFixture.h"
#include "MainWindowFixture.h"
#include "QtPrinters.h"
#include "ScopedVariable.h"
#include "TestFiles.h"
#include "mainwindow/frmProgress.h"

#include <QDir>
#include <QTimer>

namespace {

using L = LibraryText;
using Lines = QStringList;

// File > Import and File > Export on the real window, with files and
// browser profiles made in a temporary home folder.
class BookmarkMenusTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        startWith(L::folder(1, "Work", L::sitePin(1, "Intranet", "http://intranet.example/", "Ask Bob"),
                            L::folder(2, "Old")));
        m_before = fileBytes();
    }

    // Below the configuration folder the fixture gave the window.
    QString inHome(const QString &relative) const
    {
        return relative.startsWith(".config/")
                   ? QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(relative.mid(int(strlen(".config/"))))
                   : m_home.filePath(relative);
    }
    QString write(const QString &relative, const QByteArray &bytes)
    {
        const QString path = inHome(relative);
        EXPECT_TRUE(TestFiles::write(path, bytes));
        return path;
    }
    QStringList stored() const { return BookmarkOutline::ofLibrary(reopenLibrary()->getTheDOM().documentElement()); }
    const MessageRequest &onlyMessage() const
    {
        EXPECT_EQ(m_dialogs.shown().size(), 1u) << m_dialogs.shownTexts().join(" | ").toStdString();
        return m_dialogs.shown().back().request;
    }

    QTemporaryDir m_home;
    const ScopedVariable m_homeVariable{"HOME", m_home.path()};
    QByteArray m_before;
};

const QByteArray kChromiumHtml = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                 "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                                 "<DL><p>\n"
                                 "    <DT><H3 PERSONAL_TOOLBAR_FOLDER=\"true\">Bookmarks bar</H3>\n"
                                 "    <DL><p>\n"
                                 "        <DT><A HREF=\"https://a.example/?x=1&amp;y=2\">Zebra &amp; Co</A>\n"
                                 "        <DT><A HREF=\"javascript:void(0)\">Script</A>\n"
                                 "        <DT><A HREF=\"https://b.example/\">Antelope</A>\n"
                                 "    </DL><p>\n"
                                 "    <DT><A HREF=\"https://c.example/\">Top</A>\n"
                                 "</DL><p>\n";

} // namespace

TEST_F(BookmarkMenusTest, aNetscapeFileBecomesANewFolderShownAndSavedOnce)
{
    const QString file = write("bookmarks.html", kChromiumHtml);
    m_dialogs.chooseFileNext(file);
    runMenu("mnuFileImportNetscape");
    ASSERT_EQ(m_dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(m_dialogs.fileRequests().front().title, "Import a Netscape bookmark file");
    EXPECT_EQ(m_dialogs.fileRequests().front().filter, "Bookmark files (*.html *.htm);;All files (*)");
    const MessageRequest &summary = onlyMessage();
    EXPECT_EQ(summary.text, "Imported 1 folders and 3 SitePins into the new folder \"bookmarks.html 09 Mar 2026\". 1 "
                            "entries were left out: separators, scripts (javascript:), browser queries (place:) and "
                            "folders nested too deep.");
    EXPECT_EQ(summary.title, "SitePins Manager");
    EXPECT_EQ(summary.icon, MessageIcon::Information);

    EXPECT_EQ(childNames(window().folderTree().rootNode()), (Lines{"bookmarks.html 09 Mar 2026", "Work"}));
    EXPECT_EQ(ui().lblTName->caption(), "bookmarks.html 09 Mar 2026") << "the new folder is selected";
    EXPECT_EQ(entryNames(ui().tvwWM), Lines{"Top"});
    EXPECT_TRUE(ui().tvwTopics->isVisible());
    EXPECT_EQ(stored(),
              (Lines{"[Work]", "  [Old]", "  Intranet <http://intranet.example/> // Ask Bob",
                     "[bookmarks.html 09 Mar 2026]", "  [Bookmarks bar]", "    Zebra & Co <https://a.example/?x=1&y=2>",
                     "    Antelope <https://b.example/>", "  Top <https://c.example/>"}));
}

TEST_F(BookmarkMenusTest, aMalformedFileSaysWhyAndChangesNothing)
{
    const QString file = write("broken.xbel", "<?xml version=\"1.0\"?>\n<xbel>\n<folder><title>x</folder>\n</xbel>");
    m_dialogs.chooseFileNext(file);
    runMenu("mnuFileImportXbel");
    const MessageRequest &shown = onlyMessage();
    EXPECT_EQ(shown.text, file + " could not be imported. The file is not well-formed XML: Opening and ending tag "
                                 "mismatch: title line 3 and folder (line 3). Nothing was changed.");
    EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    EXPECT_EQ(fileBytes(), m_before);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), Lines{"Work"});

    m_dialogs.forget();
    m_dialogs.chooseFileNext(QString());
    runMenu("mnuFileImportXbel");
    EXPECT_TRUE(m_dialogs.shown().empty()) << "a cancelled file dialog does nothing";
}

// Firefox keeps profiles in two places; Chromium and Chrome each in their
// own folder. Every profile found is offered, the default one first.
TEST_F(BookmarkMenusTest, profilesAreOfferedAndTheChosenOneImported)
{
    runMenu("mnuFileImportFirefox");
    EXPECT_EQ(onlyMessage().text, "No Firefox profile with bookmarks was found in ~/.mozilla/firefox and "
                                  "~/.config/mozilla/firefox.");

    ASSERT_TRUE(QDir().mkpath(inHome(".config/mozilla/firefox/Profiles/new.default")));
    ASSERT_TRUE(FirefoxPlacesFixture::write(inHome(".config/mozilla/firefox/Profiles/new.default/places.sqlite")));
    write(".config/mozilla/firefox/profiles.ini",
          "[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/new.default\n");
    m_dialogs.forget();
    m_dialogs.chooseItemNext(0);
    runMenu("mnuFileImportFirefox");
    ASSERT_EQ(m_dialogs.choiceRequests().size(), 1u);
    EXPECT_EQ(m_dialogs.choiceRequests().front().title, "Import from Firefox");
    EXPECT_EQ(m_dialogs.choiceRequests().front().items, Lines{"Firefox: default (new.default)"});
    EXPECT_EQ(onlyMessage().text, "Imported 5 folders and 5 SitePins into the new folder \"Firefox 09 Mar 2026\". 3 "
                                  "entries were left out: separators, scripts (javascript:), browser queries (place:) "
                                  "and folders nested too deep.");

    write(".config/chromium/Local State", R"({"profile": {"info_cache": {"Default": {"name": "Person 1"}}}})");
    write(".config/chromium/Default/Bookmarks", R"({"roots": {"bookmark_bar": {"type": "folder", "children": [
        {"type": "url", "name": "Default's", "url": "https://default.example/"}]}}})");
    write(".config/google-chrome/Profile 2/Bookmarks", R"({"roots": {"other": {"type": "folder", "children": [
        {"type": "url", "name": "Chrome's", "url": "https://chrome.example/"}]}}})");
    m_dialogs.forget();
    m_dialogs.chooseItemNext(-1);
    runMenu("mnuFileImportChromium");
    EXPECT_EQ(m_dialogs.choiceRequests().front().items, (Lines{"Chromium: Person 1 (Default)", "Chrome: Profile 2"}));
    EXPECT_TRUE(m_dialogs.shown().empty()) << "a cancelled chooser imports nothing";
    m_dialogs.chooseItemNext(1);
    runMenu("mnuFileImportChromium");
    EXPECT_EQ(m_dialogs.lastText(), "Imported 1 folders and 1 SitePins into the new folder \"Chrome 09 Mar 2026\".");
    Lines imported{"[Firefox 09 Mar 2026]"};
    for (const QString &line : FirefoxPlacesFixture::kOutline)
        imported << "  " + line;
    imported << "[Chrome 09 Mar 2026]"
             << "  [Other bookmarks]"
             << "    Chrome's <https://chrome.example/>";
    EXPECT_EQ(stored().mid(stored().indexOf("[Firefox 09 Mar 2026]")), imported);
}

TEST_F(BookmarkMenusTest, cancelInTheProgressWindowLeavesTheLibraryAsItWas)
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    for (int i = 0; i < 20000; ++i)
        html += "<DT><A HREF=\"https://page.example/" + QByteArray::number(i) + "\">Page</A>\n";
    m_dialogs.chooseFileNext(write("many.html", html + "</DL>\n"));
    QTimer poll;
    bool cancelled = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *progress = window().findChild<frmProgress *>();
        if (!progress || !progress->isVisible() || progress->lblName2()->text().isEmpty() || cancelled)
            return;
        cancelled = true;
        QTest::mouseClick(progress->cmdCancel(), Qt::LeftButton);
    });
    poll.start(1);
    runMenu("mnuFileImportNetscape");
    poll.stop();
    ASSERT_TRUE(cancelled);
    EXPECT_TRUE(m_dialogs.shown().empty()) << m_dialogs.shownTexts().join(" | ").toStdString();
    EXPECT_EQ(fileBytes(), m_before);
    EXPECT_EQ(window().getMyDB().countElements("SITEPIN"), 1);
    EXPECT_EQ(childNames(window().folderTree().rootNode()), Lines{"Work"});
    EXPECT_TRUE(ui().tvwTopics->isVisible());
}

// With a folder selected the user is asked whether to export only it.
TEST_F(BookmarkMenusTest, exportWritesTheWholeLibraryOrTheSelectedFolder)
{
    const QString html = inHome("out.html");
    m_dialogs.saveFileNext(html);
    runMenu("mnuFileExportNetscape");
    ASSERT_EQ(m_dialogs.saveFileRequests().size(), 1u);
    const SaveFileRequest &request = m_dialogs.saveFileRequests().front();
    EXPECT_EQ(request.title, "Export to a Netscape bookmark file");
    EXPECT_EQ(request.initialPath, inHome("bookmarks.html"));
    EXPECT_EQ(request.defaultSuffix, "html");
    EXPECT_EQ(onlyMessage().text, "Exported 2 folders and 1 SitePins to " + html + ".");
    EXPECT_TRUE(LibraryText::readFile(html).contains("<DT><A HREF=\"http://intranet.example/\" ADD_DATE="));

    const QString xbel = inHome("old.xbel");
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        m_dialogs.forget();
        clickFolder("Old");
        m_dialogs.answerNext(answer);
        m_dialogs.saveFileNext(xbel);
        runMenu("mnuFileExportXbel");
        ASSERT_EQ(m_dialogs.shown().size(), 2u);
        EXPECT_EQ(m_dialogs.shown().front().request.text,
                  "Export only the folder \"Old\" and the folders in it?\n\nAnswer No to export the whole library.");
        EXPECT_EQ(m_dialogs.lastText(), answer == MessageAnswer::Yes
                                            ? "Exported 1 folders and 0 SitePins to " + xbel + "."
                                            : "Exported 2 folders and 1 SitePins to " + xbel + ".");
    }
    EXPECT_EQ(fileBytes(), m_before);
}
