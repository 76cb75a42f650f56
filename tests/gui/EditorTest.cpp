#include "FindingFixture.h"
#include "editing/SitePinEditor.h"
#include "store/LibraryLimits.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

using LT = LibraryText;

const QString kTwoFolders =
    LT::folder(1, "Work", LT::sitePin(1, "Wiki", "http://wiki/", "old notes", "FALSE", "old text")) +
    LT::folder(2, "Home");

// Each child of a stored element as "NAME=text", in document order.
QStringList storedFields(const XmlNode &element)
{
    QStringList fields;
    for (const XmlNode &child : element.childElements())
        fields << child.nodeName() + '=' + child.text();
    return fields;
}

class EditorTest : public FindingFixture
{
protected:
    void startWith(const QString &body = kTwoFolders) { MainWindowFixture::startWith(body); }
    void typeSitePin(const QString &name, const QString &address, const QString &description = {},
                     const QString &notes = {})
    {
        QTest::keyClicks(ui().txtWName, name);
        QTest::keyClicks(ui().txtAddress, address);
        ui().txtDescription->setPlainText(description);
        ui().txtNotes->setPlainText(notes);
    }
    void save() { clickToolbarButton(20); }
    void cancel() { clickToolbarButton(21); }
};

} // namespace

TEST_F(EditorTest, createdSitePinIsWrittenWithItsEightFieldsListedAndShown)
{
    startWith();
    clickFolder("Work");
    runMenu("mnuAddSitePin");
    EXPECT_EQ(ui().txtMode->text(), "add");
    EXPECT_EQ(ui().lblCreatedDate->text(), "09 Mar 2026");
    EXPECT_FALSE(isButtonEnabled(20)) << "no name yet";
    QTest::keyClicks(ui().txtWName, "   ");
    EXPECT_FALSE(isButtonEnabled(20)) << "a blank name";
    ui().txtWName->clear();
    typeSitePin("Alpha news", "https://news.example/a?b=1&c=2", "Daily", "first\nsecond");
    EXPECT_TRUE(isButtonEnabled(20));
    save();

    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_EQ(ui().txtMode->text(), "");
    EXPECT_FALSE(window().m_blnEditMode);
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Alpha news", "Wiki"}));
    EXPECT_EQ(currentEntryName(ui().tvwWM), "Alpha news");
    EXPECT_EQ(ui().lblWName->caption(), "Alpha news");
    EXPECT_EQ(window().m_strCurrentWID, "W2");

    const XmlDocument dom = reopenLibrary()->getTheDOM();
    const XmlNode pin = dom.nodeFromID("W2");
    ASSERT_TRUE(pin);
    EXPECT_EQ(parentOf(dom, "W2"), "T1");
    EXPECT_EQ(storedFields(pin),
              QStringList({"NAME=Alpha news", "ADDRESS=https://news.example/a?b=1&c=2", "CREATED_DATE=09 Mar 2026",
                           "DESCRIPTION=Daily", "NOTES=first\nsecond", "KEYWORD1=", "KEYWORD2=", "FAV=FALSE"}));
}

// The folder check comes first: with neither folder nor name only it is
// reported. A folder clicked meanwhile becomes the target and leaves the fields.
TEST_F(EditorTest, createFromAnotherTabFilesIntoTheIndexAndNeedsAFolderFirst)
{
    writeLibraryBody(kTwoFolders);
    setStoredTabIndex("1");
    start();
    runMenu("mnuAddSitePin");
    EXPECT_EQ(ui().tabIndex->currentIndex(), 0);
    EXPECT_EQ(ui().tvwTopics->currentItem(), ui().tvwTopics->topLevelItem(0));
    EXPECT_EQ(ui().lblTName->caption(), "No folder selected");
    window().editor().saveEdit();
    EXPECT_EQ(m_dialogs.shownTexts(), QStringList({"No folder has been selected"}));
    EXPECT_EQ(ui().txtMode->text(), "add") << "the editor stays open";

    clickFolder("Work");
    window().editor().saveEdit();
    EXPECT_EQ(m_dialogs.lastText(), "A website name is required before the SitePin can be saved.");
    EXPECT_TRUE(ui().txtWName->hasFocus());
    typeSitePin("Orphan", "http://x/");
    clickFolder("Home");
    EXPECT_EQ(ui().lblTName->caption(), "Home");
    EXPECT_EQ(ui().txtWName->text(), "Orphan");
    EXPECT_EQ(ui().txtMode->text(), "add");
    save();
    EXPECT_EQ(parentOf(reopenLibrary()->getTheDOM(), "W2"), "T2");
}

// Both ways out of an edit ask first: No keeps the edit, Yes ends it unsaved.
TEST_F(EditorTest, leavingAnEditAsksAndNoKeepsIt)
{
    startWith();
    const QByteArray before = fileBytes();
    clickFolder("Work");
    runMenu("mnuAddSitePin");
    typeSitePin("Draft", "http://draft/");
    m_dialogs.answerNext(MessageAnswer::No);
    cancel();
    expectOnlyMessage("You are about to lose unsaved changes - do you wish to continue?", "Unsaved changes",
                      MessageButtons::YesNo);
    EXPECT_EQ(ui().txtWName->text(), "Draft");
    EXPECT_EQ(ui().txtMode->text(), "add");
    m_dialogs.answerNext(MessageAnswer::Yes);
    cancel();
    EXPECT_EQ(ui().txtMode->text(), "");
    EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");
    EXPECT_FALSE(ui().Frame1->isVisible());

    showSitePin("Work", "Wiki");
    runMenu("mnuEditModify");
    m_dialogs.answerNext(MessageAnswer::No);
    clickFolder("Home");
    EXPECT_EQ(m_dialogs.shownTexts().size(), 3) << "each way out asks";
    EXPECT_EQ(ui().tvwTopics->currentItem()->text(0), "Work");
    EXPECT_EQ(ui().txtMode->text(), "mod");
    m_dialogs.answerNext(MessageAnswer::Yes);
    clickFolder("Home");
    EXPECT_EQ(ui().txtMode->text(), "");
    EXPECT_FALSE(window().m_blnEditMode);
    EXPECT_EQ(ui().lblTName->caption(), "Home");
    EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected");
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(EditorTest, modifyThenCancelRestoresTheStoredValuesAndSaveWritesThem)
{
    startWith();
    window().editor().mnuEditModify_Click();
    EXPECT_EQ(m_dialogs.lastText(), "No SitePin has been selected to modify");
    EXPECT_EQ(ui().txtMode->text(), "");

    showSitePin("Work", "Wiki");
    runMenu("mnuEditModify");
    EXPECT_EQ(ui().txtWName->selectedText(), "Wiki");
    ui().txtWName->setText("Changed");
    typeSitePin({}, "/changed", "new text", "new notes");
    m_dialogs.answerNext(MessageAnswer::Yes);
    cancel();
    EXPECT_EQ(ui().txtMode->text(), "");
    runMenu("mnuEditModify");
    EXPECT_EQ(ui().txtWName->text(), "Wiki");
    EXPECT_EQ(ui().txtAddress->text(), "http://wiki/");
    EXPECT_EQ(ui().txtDescription->toPlainText(), "old text");
    EXPECT_EQ(ui().txtNotes->toPlainText(), "old notes");

    ui().txtWName->setText("Wiki 2");
    save();
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Wiki 2"}));
    EXPECT_EQ(reopenLibrary()->getSPName("W1"), "Wiki 2");
}

TEST_F(EditorTest, eachModeLocksWhatAnEditMustNotReach)
{
    struct Case
    {
        const char *menu; // the command that enters the mode; "" browses
        bool create, modify, addFolder, modifyFolder, fileOpen, favs, cancel, editMenu;
    };
    for (const Case c : {Case{"", true, true, true, true, true, true, false, true},
                         Case{"mnuAddSitePin", false, false, true, false, false, false, true, true},
                         Case{"mnuEditModify", false, false, false, false, false, false, true, false}}) {
        SCOPED_TRACE(c.menu);
        startWith();
        showSitePin("Work", "Wiki");
        if (*c.menu)
            runMenu(c.menu);
        EXPECT_EQ(isButtonEnabled(1), c.create);
        EXPECT_EQ(isButtonEnabled(2), c.modify);
        EXPECT_EQ(isButtonEnabled(12), c.addFolder);
        EXPECT_EQ(isButtonEnabled(13), c.modifyFolder);
        EXPECT_EQ(isEnabled("mnuFileOpen"), c.fileOpen);
        EXPECT_EQ(isEnabled("mnuFavs"), c.favs);
        EXPECT_EQ(isButtonEnabled(21), c.cancel);
        EXPECT_EQ(ui().commands->toolbarButton(21)->isVisible(), c.cancel);
        EXPECT_EQ(isEnabled("mnuEdit"), c.editMenu);
        EXPECT_EQ(ui().cmdMoveSP->isEnabled(), !c.cancel);
        EXPECT_EQ(ui().Label5->isVisibleTo(ui().Frame1), c.cancel) << "the Description: caption shows while editing";
    }
}

// A failed save used to go unreported; the change must stay and reach the
// file with the next save that succeeds. A user marks the file read-only to
// keep it from changing, and root could still replace it: the mode is what
// refuses the save, and the status bar says so from the start.
TEST_F(EditorTest, failedSaveIsShownAndTheNextSaveWritesTheChange)
{
    const QString folder = programFolder() + "/MySitePins";
    const QByteArray path = QFile::encodeName(libraryPath());
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "folder gone");
        writeLibraryBody(kTwoFolders);
        if (readOnly) {
            ASSERT_EQ(::chmod(path.constData(), 0444), 0);
        }
        start();
        EXPECT_EQ(ui().StatusBar1->panelText(3), readOnly ? "Read-only" : "");
        if (!readOnly) {
            ASSERT_TRUE(QDir().rename(folder, folder + ".away"));
        }
        clickFolder("Work");
        runMenu("mnuAddSitePin");
        typeSitePin("Kept", "http://kept/");
        save();
        ASSERT_EQ(m_dialogs.shown().size(), 1u);
        EXPECT_TRUE(m_dialogs.lastText().startsWith("Your change could not be saved to the SitePins file."));
        EXPECT_EQ(m_dialogs.shown().back().request.icon, MessageIcon::Exclamation);
        if (readOnly) {
            EXPECT_EQ(m_dialogs.lastText(),
                      QString("Your change could not be saved to the SitePins file.\n\n"
                              "The SitePins file %1 is read-only.\n\nThe change is kept while the "
                              "program runs and will be written by the next successful save.")
                          .arg(QDir::toNativeSeparators(QFileInfo(libraryPath()).absoluteFilePath())));
        }
        EXPECT_EQ(window().getMyDB().getSPName("W2"), "Kept") << "the change stays in memory";
        EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Kept", "Wiki"}));

        if (readOnly) {
            ASSERT_EQ(::chmod(path.constData(), 0644), 0);
        } else {
            ASSERT_TRUE(QDir().rename(folder + ".away", folder));
        }
        runMenu("mnuAddSitePin");
        typeSitePin("Second", "http://second/");
        save();
        EXPECT_EQ(m_dialogs.shown().size(), 1u);
        EXPECT_EQ(ui().StatusBar1->panelText(3), "");
        const auto db = reopenLibrary();
        EXPECT_EQ(db->getSPName("W2"), "Kept");
        EXPECT_EQ(db->getSPName("W3"), "Second");
        m_dialogs.forget();
    }
}

// Either is refused before anything is written, and the edit stays open.
TEST_F(EditorTest, aSitePinTheLibraryCannotHoldIsRefusedBeforeSaving)
{
    // Pasted text comes in lines; one endless line would only make the editor slow to lay out.
    const QString line = QString(99, QLatin1Char('n')) + QLatin1Char('\n');
    QString pins;
    for (int wid = 2; wid <= 32767; ++wid)
        pins += QStringLiteral("<SITEPIN WID=\"W%1\"><NAME>p</NAME></SITEPIN>").arg(wid);
    const std::tuple<QString, QString, int, const char *> rows[] = {
        {kTwoFolders, line.repeated(LibraryLimits::kMaxFieldLength / line.size() + 1), 1,
         "The notes is too long to be saved: a SitePin field can hold at most 1,000,000 characters."},
        {LT::folder(1, "Work", LT::sitePin(1, "Wiki") + pins),
         {},
         32767,
         "The SitePin cannot be saved: the library already holds the largest number of SitePins it can number "
         "(32767)."}};
    for (const auto &[library, notes, held, message] : rows) {
        SCOPED_TRACE(message);
        startWith(library);
        const QByteArray before = fileBytes();
        clickFolder("Work");
        runMenu("mnuAddSitePin");
        typeSitePin("One too many", "http://x/", {}, notes);
        save();
        EXPECT_EQ(m_dialogs.lastText(), message);
        EXPECT_EQ(ui().txtMode->text(), "add");
        EXPECT_EQ(window().m_objDOMSitePins.documentElement().countElementsByTagName("SITEPIN"), held);
        EXPECT_EQ(fileBytes(), before);
    }
}

// The edited SitePin is the one picked from the search results, whatever the
// folder list and the favourites hold; those two lists are emptied.
TEST_F(EditorTest, modifyFromTheSearchResultsWritesThePickedSitePinAndRenamesItsHit)
{
    startWith(LT::folder(1, "Work", LT::sitePin(1, "Wiki", "http://wiki/") + LT::sitePin(2, "Mail")) +
              LT::folder(2, "Home", LT::sitePin(3, "Wiki at home", "http://home/", "", "TRUE")));
    clickFolder("Work");
    search(NameOnly, "wiki");
    ASSERT_EQ(entryNames(ui().tvwSearch), QStringList({"Wiki", "Wiki at home"}));
    clickEntry(ui().tvwSearch, "Wiki at home");
    EXPECT_EQ(ui().txtModTab->text(), "1");
    runMenu("mnuEditModify");
    ui().txtWName->setText("Home wiki");
    ui().txtNotes->setPlainText("more\nnotes");
    save();

    EXPECT_EQ(ui().txtMode->text(), "");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"Wiki", "Home wiki"}));
    EXPECT_EQ(ui().tvwWM->model()->rowCount(), 0);
    EXPECT_EQ(ui().tvwFavs->model()->rowCount(), 0);
    EXPECT_TRUE(window().m_colFavs.isEmpty()) << "the favourites collection goes with its list";
    const XmlDocument dom = reopenLibrary()->getTheDOM();
    EXPECT_EQ(dom.nodeFromID("W1").selectSingleNode("NAME").text(), "Wiki");
    // What the editor does not show is kept.
    EXPECT_EQ(storedFields(dom.nodeFromID("W3")),
              QStringList({"NAME=Home wiki", "ADDRESS=http://home/", "CREATED_DATE=04 Dec 2026",
                           "DESCRIPTION=", "NOTES=more\nnotes", "KEYWORD1=", "KEYWORD2=", "FAV=TRUE"}));
}
