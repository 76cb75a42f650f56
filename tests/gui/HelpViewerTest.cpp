#include "help/HelpViewer.h"
#include "MainWindowFixture.h"
#include "ModalDialog.h"
#include "QtPrinters.h"
#include "help/ChmBrowser.h"
#include "help/HTMLHelp.h"
#include "help/HelpCommands.h"
#include "help/HelpPopup.h"
#include "help/HelpTopics.h"
#include "help/HelpViewerHost.h"
#include "help/logic/ChmArchive.h"
#include "help/logic/HtmlText.h"

#include <QAction>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QTextBlock>

#include <algorithm>
#include <functional>

namespace {

using L = LibraryText;

class HelpViewerTest : public MainWindowFixture
{
protected:
    // The help file as the build placed it beside the program.
    static QString builtHelpFile() { return QDir(SITEPINS_PROGRAM_DIR).filePath(HelpTopics::kHelpFileName); }

    frmSitePins &startWithHelp()
    {
        EXPECT_TRUE(QFile::copy(builtHelpFile(), QDir(programFolder()).filePath(HelpTopics::kHelpFileName)));
        return startWith(L::folder(1, "Work", L::sitePin(1, "Wiki")) + L::folder(2, "Home"));
    }

    HelpViewerHost &host() { return window().helpCommands().viewerHost(); }
    HelpViewer *viewer() { return host().viewer(); }

    // On the help file beside the program.
    HTMLHelp help()
    {
        HTMLHelp help({&m_dialogs, &host(), programFolder(), {}});
        help.setCHMFile(QDir(programFolder()).filePath(HelpTopics::kHelpFileName));
        return help;
    }

    template<typename T>
    T *part(const char *name)
    {
        T *found = viewer() ? viewer()->findChild<T *>(QString::fromLatin1(name)) : nullptr;
        EXPECT_TRUE(found) << name;
        return found;
    }

    QString topic() { return viewer() ? viewer()->currentTopic() : QString(); }

    // Where the link to `href` is drawn on the page, in the browser's viewport.
    QPoint linkPosition(const QString &href)
    {
        ChmBrowser *browser = viewer()->browser();
        for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
            for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
                if (fragment.fragment().charFormat().anchorHref() != href)
                    continue;
                QTextCursor cursor(browser->document());
                cursor.setPosition(fragment.fragment().position() + 1);
                browser->setTextCursor(cursor);
                browser->ensureCursorVisible();
                return browser->cursorRect(cursor).center();
            }
        }
        ADD_FAILURE() << "no link to " << href.toStdString();
        return {};
    }

    QColor headingColour()
    {
        for (QTextBlock block = viewer()->browser()->document()->begin(); block.isValid(); block = block.next())
            if (block.blockFormat().headingLevel() == 1)
                return block.begin().fragment().charFormat().foreground().color();
        return {};
    }
};

int openViewers()
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        count += qobject_cast<HelpViewer *>(window) && window->isVisible() ? 1 : 0;
    return count;
}

} // namespace

TEST_F(HelpViewerTest, F1OpensTheHelpOnItsContentsAndAgainBringsTheSameWindowBack)
{
    startWithHelp();
    QTest::keyClick(&window(), Qt::Key_F1);
    HelpViewer *opened = viewer();
    ASSERT_TRUE(opened);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(opened));
    EXPECT_EQ(opened->windowTitle(), "SitePins Help");
    EXPECT_EQ(opened->currentPage(), HelpViewer::ContentsPage);
    EXPECT_EQ(topic(), "/welcome.htm");
    EXPECT_EQ(opened->parentWidget(), nullptr) << "a window of its own";
    QTreeWidget *contents = part<QTreeWidget>("tvwContents");
    EXPECT_GT(contents->topLevelItemCount(), 5);
    EXPECT_EQ(contents->currentItem()->text(0), "Introduction");

    clickItem(contents, contents->topLevelItem(2));
    EXPECT_EQ(topic(), "/keyboard-shortcuts.htm");
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(&window(), Qt::Key_F1);
    EXPECT_EQ(viewer(), opened);
    EXPECT_EQ(openViewers(), 1);
    EXPECT_TRUE(QTest::qWaitForWindowActive(opened)) << "brought to the front";
    EXPECT_EQ(topic(), "/keyboard-shortcuts.htm") << "where the user left it";
    EXPECT_TRUE(m_dialogs.shown().empty());

    runMenu("mnuFileExit");
    EXPECT_EQ(openViewers(), 0) << "the help goes with the program";
}

// Installed, the program sits in usr/bin and its help file in
// usr/share/sitepins.
TEST_F(HelpViewerTest, anInstalledProgramFindsTheHelpFileInItsDataFolder)
{
    const QDir prefix(programFolder() + "/usr");
    ASSERT_TRUE(prefix.mkpath("bin") && prefix.mkpath("share/sitepins"));
    ASSERT_TRUE(QFile::copy(builtHelpFile(), prefix.filePath("share/sitepins/SitePins Help.chm")));
    m_environment.programFolder = prefix.filePath("bin");
    m_environment.libraryPath = libraryPath();
    startWith(L::folder(1, "Work"));
    runMenu("mnuHelpTopics");
    ASSERT_NE(viewer(), nullptr) << m_dialogs.shownTexts().join(" | ").toStdString();
    EXPECT_EQ(topic(), "/welcome.htm");
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(HelpViewerTest, aMissingOrDamagedHelpFileIsNamedAndNothingOpens)
{
    startWith(L::folder(1, "Work"));
    runMenu("mnuHelpTopics");
    expectOnlyMessage("The file " + programFolder() +
                          "/SitePins Help.chm does not exist.\nPlease make sure the correct path and file name have "
                          "been specified.",
                      "HTML Help Class", MessageButtons::Ok, MessageIcon::Exclamation);
    EXPECT_EQ(viewer(), nullptr);

    const QString damaged = QDir(programFolder()).filePath(HelpTopics::kHelpFileName);
    ASSERT_TRUE(L::writeFile(damaged, "not a help file"));
    m_dialogs.forget();
    runMenu("mnuHelpTopics");
    expectOnlyMessage("Cannot open the file " + damaged + ": it is not a help file, or it is damaged.", "SitePins Help",
                      MessageButtons::Ok, MessageIcon::Exclamation);
    EXPECT_EQ(viewer(), nullptr);
}

// The index finds a keyword as it is typed; the search finds the one topic
// holding a word and marks it.
TEST_F(HelpViewerTest, theIndexAndTheSearchLeadToTheirTopics)
{
    startWithHelp();
    help().HHDisplayIndex();
    ASSERT_TRUE(viewer());
    EXPECT_EQ(viewer()->currentPage(), HelpViewer::IndexPage);
    auto *keyword = part<QLineEdit>("txtKeyword");
    auto *index = part<QListWidget>("lstIndex");
    EXPECT_GT(index->count(), 100);
    QTest::keyClicks(keyword, "add to f");
    ASSERT_TRUE(index->currentItem());
    EXPECT_EQ(index->currentItem()->text(), "Add to Favorite SitePins");
    QTest::keyClick(keyword, Qt::Key_Return);
    EXPECT_EQ(topic(), "/favorites.htm");

    help().HHDisplaySearch();
    EXPECT_EQ(viewer()->currentPage(), HelpViewer::SearchPage);
    QTest::keyClicks(part<QLineEdit>("txtSearchWords"), "Dropping");
    QTest::mouseClick(part<QPushButton>("cmdListTopics"), Qt::LeftButton);
    auto *results = part<QTreeWidget>("tvwSearchResults");
    ASSERT_EQ(results->topLevelItemCount(), 1);
    EXPECT_EQ(results->topLevelItem(0)->text(0), "Moving by drag and drop");
    QTest::mouseClick(part<QPushButton>("cmdDisplaySearch"), Qt::LeftButton);
    EXPECT_EQ(topic(), "/drag-and-drop.htm");
    EXPECT_FALSE(viewer()->browser()->extraSelections().isEmpty()) << "the word is marked on the page";
}

TEST_F(HelpViewerTest, aLinkLeadsToItsTopicAndBackReturns)
{
    startWithHelp();
    runMenu("mnuHelpTopics");
    ASSERT_TRUE(viewer());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer()));
    EXPECT_EQ(headingColour(), QColor(0x1f, 0x4e, 0x79)) << "the style sheet is read from the help file";

    ChmBrowser *browser = viewer()->browser();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, linkPosition("getting-started.htm"));
    EXPECT_EQ(topic(), "/getting-started.htm");
    EXPECT_EQ(headingColour(), QColor(0x1f, 0x4e, 0x79));
    part<QAction>("actBack")->trigger();
    EXPECT_EQ(topic(), "/welcome.htm");
    part<QAction>("actForward")->trigger();
    EXPECT_EQ(topic(), "/getting-started.htm");
    EXPECT_TRUE(m_desktop.opened.empty());
}

TEST_F(HelpViewerTest, F1InADialogOrInTheEditorOpensItsTopicAboveIt)
{
    startWithHelp();
    clickFolder("Work");
    const auto pressF1In = [this](QDialog &dialog, const QString &expected) {
        QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_F1);
        EXPECT_EQ(topic(), expected) << dialog.objectName().toStdString();
        EXPECT_EQ(viewer() ? viewer()->parentWidget() : nullptr, &dialog) << "usable while the dialog is up";
    };
    const std::pair<std::function<void()>, QString> dialogs[] = {
        {[this] { clickToolbarButton(12); }, "/create-folder.htm"},
        {[this] { clickToolbarButton(13); }, "/modify-folder.htm"},
        {[this] { QTest::mouseClick(ui().cmdMoveFolder, Qt::LeftButton); }, "/move-folder.htm"},
        {[this] {
             clickSitePin("Wiki");
             QTest::mouseClick(ui().cmdMoveSP, Qt::LeftButton);
         },
         "/move-sitepin.htm"},
    };
    for (const auto &[open, expected] : dialogs)
        EXPECT_TRUE(withModalDialog(open, [&](QDialog &dialog) { pressF1In(dialog, expected); }))
            << expected.toStdString();
    EXPECT_EQ(viewer(), nullptr) << "the help went with its dialog";

    runMenu("mnuAddSitePin");
    QTest::keyClick(ui().txtWName, Qt::Key_F1);
    EXPECT_EQ(topic(), "/editor.htm");
    EXPECT_EQ(viewer()->parentWidget(), &window());

    m_dialogs.answerNext(MessageAnswer::Yes);
    clickToolbarButton(21);
    host().closeAll();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(ui().txtNotes, Qt::Key_F1);
    EXPECT_EQ(topic(), "/welcome.htm") << "out of the editor F1 is Help Contents again";
    EXPECT_EQ(m_dialogs.shown().size(), 1u) << "only the question whether to drop the new SitePin";
}

TEST_F(HelpViewerTest, lookupsShowTheirTopicOrSayNothingWasFound)
{
    startWithHelp();
    HTMLHelp help = this->help();
    help.setCHMFile(HelpTopics::kHelpFileName);
    help.setHHKeyword("Add to Favorite SitePins");
    help.HHDisplayKeyword();
    EXPECT_EQ(topic(), "/favorites.htm");
    EXPECT_NE(help.HHWndHandle(), 0u);

    help.setHHALink("Move dialogs");
    help.HHDisplayALink();
    EXPECT_TRUE(topic() == "/move-folder.htm" || topic() == "/move-sitepin.htm") << topic().toStdString();

    help.setHHKeyword("no such keyword");
    help.setHHMsgText("No topic is indexed under that keyword.");
    help.setHHMsgTitle("Keyword lookup");
    help.setHHDefaultURL("troubleshooting.htm");
    help.HHDisplayKeyword();
    EXPECT_EQ(topic(), "/troubleshooting.htm");
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    EXPECT_EQ(m_dialogs.shown()[0].request.text, "No topic is indexed under that keyword.");
    EXPECT_EQ(m_dialogs.shown()[0].request.title, "Keyword lookup");

    help.setHHTopicID(HelpTopics::kSearch.contextId);
    help.HHDisplayTopicID();
    EXPECT_EQ(topic(), "/search.htm");
    help.setHHTopicID(4711);
    help.HHDisplayTopicID();
    EXPECT_EQ(help.HHWndHandle(), 0u) << "no topic under that number";
    EXPECT_EQ(topic(), "/search.htm");

    help.HHClose();
    EXPECT_EQ(viewer(), nullptr);
}

TEST_F(HelpViewerTest, popupsShowTheirTextInTheirColoursAndFont)
{
    startWithHelp();
    HTMLHelp help = this->help();
    help.setHHPopupText("Literal text");
    help.setHHPopupTextColor(0x0000ff);
    help.setHHPopupBackColor(0xccffff);
    help.setHHPopupTextBold(true);
    help.HHDisplayPopup(&window());
    HelpPopup *popup = host().popup();
    ASSERT_TRUE(popup);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(popup->text(), "Literal text");
    EXPECT_EQ(popup->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(popup->palette().color(QPalette::Window), QColor(255, 255, 204));
    EXPECT_TRUE(popup->font().bold());
    EXPECT_EQ(viewer(), nullptr) << "a pop-up needs no viewer";

    help.setHHPopupType(HTMLHelp::kPopupFromFile);
    help.setHHPopupFile(HelpTopics::kPopupFile);
    help.setHHPopupID(HelpTopics::kFirstFieldPopup + 10);
    help.HHDisplayPopup(&window());
    ASSERT_TRUE(host().popup());
    EXPECT_TRUE(host().popup()->text().startsWith("The web address the SitePin opens."))
        << host().popup()->text().toStdString();
    QTest::mouseClick(host().popup(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([this] { return host().popup() == nullptr; }));
}

TEST_F(HelpViewerTest, theViewersOwnMenuCanLoseItsJumpToUrlEntry)
{
    startWithHelp();
    HTMLHelp help = this->help();
    help.HHDisplayContents();
    const auto jumpEntries = [this] {
        int count = 0;
        for (QAction *entry : part<QMenu>("SystemMenu")->actions())
            count += entry->property("menuId").toInt() == HTMLHelp::kJumpUrlMenuId ? 1 : 0;
        return count;
    };
    EXPECT_EQ(jumpEntries(), 1);
    viewer()->jumpTo("menu-go.htm");
    EXPECT_EQ(topic(), "/menu-go.htm");
    viewer()->jumpTo("https://www.example.org/");
    EXPECT_EQ(m_desktop.opened.size(), 1u);

    help.HHDeleteJumpURLSysMenu(help.HHWndHandle());
    EXPECT_EQ(jumpEntries(), 0);
}

TEST_F(HelpViewerTest, theWebCommandOpensTheMakersPage)
{
    startWith(L::folder(1, "Work"));
    runMenu("mnuHelpWeb");
    ASSERT_EQ(m_desktop.opened.size(), 1u);
    EXPECT_EQ(m_desktop.opened[0].toString(), HelpCommands::kMakerPage);
    EXPECT_EQ(m_desktop.opened[0].path(), "/SitePins/index.htm");
}

TEST_F(HelpViewerTest, everyMenuCommandOfTheMainWindowIsExplainedInSomeTopic)
{
    startWith(L::folder(1, "Work"));
    const ChmArchive archive(builtHelpFile());
    QStringList topics;
    for (const QString &path : archive.filePaths())
        if (path.endsWith(".htm"))
            topics << HtmlText::plainText(HtmlText::decode(archive.read(path).value_or(QByteArray())));
    ASSERT_GT(topics.size(), 30);

    QStringList unexplained;
    int checked = 0;
    for (QAction *element : ui().commands->allMenuElements()) {
        // The list's pop-up menu has a name, but never a caption anyone sees.
        if (element->isSeparator() || element == ui().commands->popupMenu()->menuAction())
            continue;
        const QString caption = QString(element->text()).remove('&');
        ++checked;
        if (std::none_of(topics.begin(), topics.end(), [&](const QString &text) { return text.contains(caption); }))
            unexplained << element->objectName() + ": " + caption;
    }
    EXPECT_GT(checked, 40);
    EXPECT_TRUE(unexplained.isEmpty()) << unexplained.join('\n').toStdString();
}
