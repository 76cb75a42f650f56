#include "MainWindowFixture.h"
#include "TestFiles.h"
#include "mainwindow/ProgramStart.h"
#include "platform/RegistryFunctions.h"

#include <QAction>

namespace {

QString twoFolders()
{
    return LibraryText::folder(1, "Work", LibraryText::sitePin(1, "Intranet", "http://intranet")) +
           LibraryText::folder(2, "Home");
}

class StartupTest : public MainWindowFixture
{
protected:
    QString writeOther(const QString &name, const QString &text)
    {
        const QString path = programFolder() + "/" + name;
        EXPECT_TRUE(LibraryText::writeFile(path, text));
        return path;
    }
};

} // namespace

class DegradedStart : public StartupTest, public ::testing::WithParamInterface<const char *>
{
};

// Missing or broken, the default library leaves only File > Open, and
// restoring a backup.
TEST_P(DegradedStart, offersOnlyFileOpenUntilAnotherLibraryOpens)
{
    if (*GetParam())
        writeLibrary(QString::fromLatin1(GetParam()));
    start();
    expectOnlyMessage("Failed to open the default SitePins.XML file.  Please select another from the File->Open menu.",
                      "SitePins");
    EXPECT_TRUE(window().isVisible()) << "the splash still hands over to the window";
    EXPECT_TRUE(window().isDegraded());
    for (QAction *element : ui().commands->allMenuElements()) {
        const QString name = element->objectName();
        if (element->isSeparator() || name == "mnuStartSP" || name == "mnuOpenSP")
            continue;
        EXPECT_EQ(element->isEnabled(), name == "mnuFile" || name == "mnuFileOpen" || name == "mnuFileRestore")
            << name.toStdString();
    }
    for (int index = 1; index <= CommandSurface::kToolbarButtonCount; ++index)
        EXPECT_FALSE(isButtonEnabled(index)) << "toolbar button " << index;
    for (QWidget *control : std::initializer_list<QWidget *>{ui().tvwTopics, ui().tvwWM, ui().tabIndex, ui().txtSearch})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();

    const QString other = writeOther("Other.xml", LibraryText::document(twoFolders()));
    m_dialogs.chooseFileNext(other);
    runMenu("mnuFileOpen");
    EXPECT_FALSE(window().isDegraded());
    EXPECT_EQ(window().m_strLibraryPath, other);
    EXPECT_EQ(window().getMyDB().getPath(), other);
    EXPECT_TRUE(ui().tvwTopics->isEnabled());
    EXPECT_TRUE(ui().tabIndex->isEnabled());
    for (const char *menu : {"mnuEdit", "mnuAddSitePin", "mnuView", "mnuFileExit", "mnuHelp", "mnuTools"})
        EXPECT_TRUE(isEnabled(menu)) << menu;
    EXPECT_TRUE(isButtonEnabled(1));
    EXPECT_FALSE(isButtonEnabled(2)) << "still nothing selected";
    EXPECT_EQ(childNames(ui().tvwTopics->topLevelItem(0)), QStringList({"Home", "Work"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, DegradedStart, ::testing::Values("", "<FOLDERS><FOLDER></FOLDERS>"),
                         [](const auto &info) { return std::string(*info.param ? "malformed" : "missing"); });

TEST_F(StartupTest, aWorkingStartLeavesSelectionCommandsOffAndFailedFileOpensKeepItsLibrary)
{
    startWith(twoFolders());
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_FALSE(window().isDegraded());
    EXPECT_EQ(childNames(ui().tvwTopics->topLevelItem(0)), QStringList({"Home", "Work"}));
    for (int button : {2, 3, 5, 6, 7, 8, 14, 16})
        EXPECT_FALSE(isButtonEnabled(button)) << button;
    for (const char *menu : {"mnuEditModify", "mnuEditDelete", "mnuNavigate", "mnuFavs", "mnuToolsOpen"})
        EXPECT_FALSE(isEnabled(menu)) << menu;
    EXPECT_TRUE(isEnabled("mnuAddSitePin"));
    EXPECT_FALSE(ui().commands->toolbarButton(20)->isVisible());
    EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");

    // Neither a cancelled nor a failing File > Open changes library, path or display.
    clickFolder("Work");
    const XmlDocument before = window().m_objDOMSitePins;

    m_dialogs.chooseFileNext(QString());
    runMenu("mnuFileOpen");
    ASSERT_EQ(m_dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(m_dialogs.fileRequests().front().initialDirectory, programFolder() + "/MySitePins");
    EXPECT_TRUE(m_dialogs.shown().empty());

    m_dialogs.chooseFileNext(writeOther("Broken.xml", "<FOLDERS>"));
    runMenu("mnuFileOpen");
    expectOnlyMessage("Failed to open the SitePins file", "SitePins");

    EXPECT_TRUE(window().m_objDOMSitePins == before);
    EXPECT_EQ(window().m_strLibraryPath, libraryPath());
    EXPECT_EQ(window().getMyDB().getPath(), libraryPath());
    EXPECT_TRUE(window().getMyDB().getTheDOM() == before);
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Intranet"}));
    EXPECT_EQ(ui().lblTName->caption(), "Work");
}

TEST_F(StartupTest, fileOpenWhileEditingAsksFirst)
{
    startWith(twoFolders());
    runMenu("mnuAddSitePin");
    EXPECT_FALSE(isEnabled("mnuFileOpen")) << "the menu is locked while editing";
    m_dialogs.answerNext(MessageAnswer::No);
    window().mnuFileOpen_Click();
    expectOnlyMessage("Opening a new SitePins file will lose any unsaved changes.  Are you sure?",
                      "Exit SitePins application?", MessageButtons::YesNo);
    EXPECT_TRUE(m_dialogs.fileRequests().empty()) << "No keeps the edit and opens nothing";
    EXPECT_TRUE(window().m_blnEditMode);
}

TEST_F(StartupTest, theStoredTabIsShownWithItsButtons)
{
    writeLibraryBody(twoFolders());
    for (const auto &[stored, tab] : {std::pair{"2", 2}, {"1", 1}, {"", 0}, {"7", 0}, {"two", 0}}) {
        setStoredTabIndex(stored);
        start();
        EXPECT_EQ(ui().tabIndex->currentIndex(), tab) << '"' << stored << '"';
        EXPECT_EQ(!ui().cmdFAdd->isHidden(), tab == 2);
        EXPECT_EQ(!ui().cmdFDelete->isHidden(), tab == 2);
        EXPECT_EQ(!ui().cmdMoveSP->isHidden(), tab == 0);
        EXPECT_EQ(!ui().cmdMoveFolder->isHidden(), tab == 0);
        EXPECT_EQ(!ui().cmdSearch->isHidden(), tab == 1);
    }
}

// File > Exit without an edit asks nothing and writes the tab; closing the
// window and File > Exit in edit mode each ask once, and No keeps the
// program running.
TEST_F(StartupTest, endingAsksOnlyInEditModeAndOnceAndWritesTheTab)
{
    writeLibraryBody(twoFolders());
    EXPECT_EQ(storedTabIndex(), "0") << "created on the first start";
    start();
    ui().tabIndex->setCurrentIndex(1);
    runMenu("mnuFileExit");
    EXPECT_TRUE(m_dialogs.shown().empty()) << "no edit open: no question";
    EXPECT_EQ(storedTabIndex(), "1");
    EXPECT_EQ(m_endProgramCalls, 1);
    EXPECT_FALSE(window().isVisible());

    for (const bool byMenu : {false, true}) {
        start();
        runMenu("mnuAddSitePin");
        const auto end = [&] {
            if (byMenu)
                runMenu("mnuFileExit");
            else
                window().close();
        };
        m_dialogs.answerNext(MessageAnswer::No);
        end();
        expectOnlyMessage("Are you sure you wish exit SitePins with unsaved changes?", "Exit SitePins application?",
                          MessageButtons::YesNo);
        EXPECT_TRUE(window().isVisible());

        m_dialogs.answerNext(MessageAnswer::Yes);
        end();
        EXPECT_EQ(m_dialogs.shown().size(), 2u) << "asked once for this exit";
        EXPECT_FALSE(window().isVisible());
        EXPECT_EQ(m_endProgramCalls, byMenu ? 3 : 2);
    }
}

// Regression: a damaged settings file kept every setting from being saved,
// and nobody was told.
TEST_F(StartupTest, aDamagedSettingsFileIsMovedAsideAndToldOnce)
{
    writeLibraryBody(twoFolders());
    const QString settings = RegistryFunctions::registryFilePath(RegistryRoot::HKEY_CURRENT_USER);
    ASSERT_TRUE(TestFiles::write(settings, "[Software\\KelvaneSoft\nTabIndex sz 2\n"));
    ProgramStart::prepareSettings(m_environment);
    start();
    expectOnlyMessage("The settings file " + settings + " was damaged and has been moved aside to " + settings +
                          ".corrupt.\n\nSitePins Manager starts with its default settings.",
                      "SitePins", MessageButtons::Ok, MessageIcon::Exclamation);
    EXPECT_EQ(ui().tabIndex->currentIndex(), 0);
    ui().tabIndex->setCurrentIndex(2);
    runMenu("mnuFileExit");
    EXPECT_EQ(storedTabIndex(), "2") << "settings are saved again";

    ProgramStart::prepareSettings(m_environment);
    start();
    EXPECT_TRUE(m_dialogs.shown().empty()) << "said once";
    EXPECT_EQ(ui().tabIndex->currentIndex(), 2);
}
