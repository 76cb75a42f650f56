#include "care/LibraryCare.h"
#include "MainWindowFixture.h"
#include "PageServer.h"
#include "QtPrinters.h"
#include "care/frmDuplicates.h"
#include "care/frmLinkCheck.h"

#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>

namespace {

using L = LibraryText;

class LibraryCareTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(m_server.isListening());
    }

    QString at(const char *path) const { return m_server.url(QString::fromLatin1(path)); }

    // Work: Intranet (OK), Old (moved for good), Temp (moved for now),
    // Dead (not found), a mail address; Home > Blogs: Gone.
    void startWithMixedLinks()
    {
        m_server.setAnswer("/ok", {});
        m_server.setAnswer("/new", {});
        m_server.setAnswer("/moved", {.status = 301, .location = "/new"});
        m_server.setAnswer("/found", {.status = 302, .location = "/new"});
        m_server.setAnswer("/gone", {.status = 410});
        startWith(L::folder(1, "Work",
                            L::sitePin(1, "Intranet", at("/ok")) + L::sitePin(2, "Old", at("/moved")) +
                                L::sitePin(3, "Temp", at("/found")) + L::sitePin(4, "Dead", at("/missing")) +
                                L::sitePin(6, "Mail", "mailto:someone@example.com")) +
                  L::folder(2, "Home", {}, L::folder(3, "Blogs", L::sitePin(5, "Gone", at("/gone")))));
    }

    frmLinkCheck &openLinkCheck()
    {
        runMenu("mnuToolsCheckLinks");
        frmLinkCheck *check = window().libraryCare().linkCheckWindow();
        EXPECT_TRUE(check && check->isVisible());
        return *check;
    }

    template<typename Control>
    static Control *control(QWidget *window, const char *name)
    {
        auto *found = window->findChild<Control *>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    void click(QWidget *window, const char *button)
    {
        QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
    }

    void runCheck(frmLinkCheck &check)
    {
        QSignalSpy finished(&check, &frmLinkCheck::checkFinished);
        click(&check, "cmdCheck");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !finished.isEmpty(); }, 20000));
    }

    static QTreeWidget *results(QWidget *check) { return control<QTreeWidget>(check, "tvwResults"); }

    // Row texts of one column, in the order shown, hidden rows left out.
    static QStringList shown(QTreeWidget *list, int column = 0)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (!list->topLevelItem(i)->isHidden())
                texts << list->topLevelItem(i)->text(column);
        }
        return texts;
    }

    static QTreeWidgetItem *row(QTreeWidget *list, const QString &name)
    {
        for (QTreeWidgetItemIterator it(list); *it; ++it) {
            if ((*it)->text(0) == name)
                return *it;
        }
        ADD_FAILURE() << "no row " << name.toStdString();
        return nullptr;
    }

    // A click on the first, Ctrl+click on the others.
    void chooseRows(QTreeWidget *list, const QStringList &names)
    {
        for (qsizetype i = 0; i < names.size(); ++i) {
            QTreeWidgetItem *item = row(list, names[i]);
            ASSERT_TRUE(item);
            list->scrollToItem(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                              list->visualItemRect(item).center());
        }
    }

    // One or two clicks on the column's header, as the order it starts in asks.
    static void sortByName(QTreeWidget *list)
    {
        QHeaderView *header = list->header();
        for (int clicks = 0; clicks == 0 || (clicks < 2 && header->sortIndicatorOrder() != Qt::AscendingOrder);
             ++clicks)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    }

    PageServer m_server;
};

TEST_F(LibraryCareTest, theOutcomesAreListedFilteredSortedAndShownInTheMainWindow)
{
    startWithMixedLinks();
    const QList<QAction *> tools = ui().commands->menu("mnuTools")->actions();
    ASSERT_GE(tools.size(), 3);
    EXPECT_TRUE(tools[tools.size() - 3]->isSeparator());
    EXPECT_EQ(tools[tools.size() - 2]->text(), "Check &links...");
    EXPECT_EQ(tools.back()->text(), "Find &duplicates...");

    const QByteArray before = fileBytes();
    frmLinkCheck &check = openLinkCheck();
    EXPECT_EQ(check.windowModality(), Qt::NonModal);
    EXPECT_TRUE(control<QRadioButton>(&check, "optLibrary")->isChecked());
    runCheck(check);
    EXPECT_EQ(fileBytes(), before) << "a check alone changes nothing";

    QTreeWidget *list = results(&check);
    EXPECT_EQ(control<QLabel>(&check, "lblProgress")->text(), "Checked 5 of 5");
    sortByName(list);
    EXPECT_EQ(shown(list), QStringList({"Dead", "Gone", "Intranet", "Old", "Temp"}));
    EXPECT_EQ(shown(list, frmLinkCheck::OutcomeColumn),
              QStringList({"Not found", "Gone", "OK", "Moved permanently \u2192 " + at("/new"), "Moved temporarily"}));
    EXPECT_EQ(shown(list, frmLinkCheck::FolderColumn), QStringList({"Work", "Home -> Blogs", "Work", "Work", "Work"}));

    QComboBox *filter = control<QComboBox>(&check, "cboShow");
    for (const auto &[entry, rows] : {std::pair{"Not found (1)", QStringList{"Dead"}},
                                      {"All but OK (4)", QStringList{"Dead", "Gone", "Old", "Temp"}},
                                      {"Timeout (0)", QStringList{}},
                                      {"All (5)", QStringList{"Dead", "Gone", "Intranet", "Old", "Temp"}}}) {
        const int index = filter->findText(QString::fromUtf8(entry));
        ASSERT_GE(index, 0) << entry;
        filter->setCurrentIndex(index);
        EXPECT_EQ(shown(list), rows) << entry;
    }

    chooseRows(list, {"Dead", "Old"});
    click(&check, "cmdCopy");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), at("/missing") + "\n" + at("/moved"));

    const QPoint gone = list->visualItemRect(row(list, "Gone")).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, gone);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, gone);
    EXPECT_EQ(ui().tabIndex->currentIndex(), 0);
    EXPECT_EQ(ui().lblWName->caption(), "Gone");
    EXPECT_EQ(ui().lblTName->caption(), "Blogs");
    EXPECT_EQ(window().folderTree().selectedNode()->text(0), "Blogs");
    ASSERT_TRUE(ui().tvwWM->currentIndex().isValid());
    EXPECT_EQ(currentEntryName(ui().tvwWM), "Gone");
    EXPECT_EQ(ui().StatusBar1->panelText(2), " -> Home -> Blogs");
}

TEST_F(LibraryCareTest, aFolderChosenInTheTreeLimitsTheCheckToItAndItsSubFolders)
{
    startWithMixedLinks();
    clickFolder("Home");
    frmLinkCheck &check = openLinkCheck();
    auto *folder = control<QRadioButton>(&check, "optFolder");
    EXPECT_TRUE(folder->isChecked());
    EXPECT_EQ(folder->text(), "The folder \"Home\" and its sub-folders");
    runCheck(check);
    EXPECT_EQ(shown(results(&check)), QStringList{"Gone"});
    EXPECT_EQ(m_server.requests().size(), 1);
}

TEST_F(LibraryCareTest, theNewAddressGoesToExactlyTheChosenSitePinsInOneSave)
{
    m_server.setAnswer("/a", {.status = 301, .location = "/a-new"});
    m_server.setAnswer("/b", {.status = 308, .location = "/b-new"});
    m_server.setAnswer("/c", {.status = 301, .location = "/c-new"});
    m_server.setAnswer("/t", {.status = 302, .location = "/a-new"});
    for (const char *page : {"/a-new", "/b-new", "/c-new"})
        m_server.setAnswer(page, {});
    startWith(L::folder(1, "Work",
                        L::sitePin(1, "A", at("/a")) + L::sitePin(2, "B", at("/b")) + L::sitePin(3, "C", at("/c")) +
                            L::sitePin(4, "T", at("/t"))));
    showSitePin("Work", "A");
    frmLinkCheck &check = openLinkCheck();
    runCheck(check);
    QTreeWidget *list = results(&check);
    QPushButton *use = control<QPushButton>(&check, "cmdUseNewAddress");
    chooseRows(list, {"T"});
    EXPECT_FALSE(use->isEnabled()) << "only permanent moves have a new address";
    chooseRows(list, {"A", "C", "T"});
    ASSERT_TRUE(use->isEnabled());

    // An open edit is ended first, with the usual question.
    runMenu("mnuEditModify");
    QSignalSpy saves(&window(), &frmSitePins::librarySaved);
    m_dialogs.answerNext(MessageAnswer::No);
    QTest::mouseClick(use, Qt::LeftButton);
    EXPECT_EQ(m_dialogs.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(saves.size(), 0);
    EXPECT_TRUE(window().m_blnEditMode);
    m_dialogs.answerNext(MessageAnswer::Yes);
    QTest::mouseClick(use, Qt::LeftButton);

    EXPECT_EQ(saves.size(), 1);
    EXPECT_EQ(m_dialogs.shown().size(), 2u);
    const std::unique_ptr<XMLDatabase> onDisk = reopenLibrary();
    EXPECT_EQ(QStringList({onDisk->getSPAddress("W1"), onDisk->getSPAddress("W2"), onDisk->getSPAddress("W3"),
                           onDisk->getSPAddress("W4")}),
              QStringList({at("/a-new"), at("/b"), at("/c-new"), at("/t")}));
    EXPECT_EQ(ui().lblAddress->text(), at("/a-new"));
    EXPECT_EQ(row(list, "A")->text(frmLinkCheck::AddressColumn), at("/a-new"));
    EXPECT_FALSE(use->isEnabled()) << "done once";
}

TEST_F(LibraryCareTest, deletingAsksTheUsualQuestionAndSavesOnce)
{
    startWithMixedLinks();
    clickFolder("Work");
    frmLinkCheck &check = openLinkCheck();
    QTest::mouseClick(control<QRadioButton>(&check, "optLibrary"), Qt::LeftButton);
    runCheck(check);
    QTreeWidget *list = results(&check);
    sortByName(list);
    QSignalSpy saves(&window(), &frmSitePins::librarySaved);

    chooseRows(list, {"Dead"});
    m_dialogs.answerNext(MessageAnswer::No);
    click(&check, "cmdDelete");
    expectOnlyMessage("Are you sure you wish to delete Dead?", "Delete SitePin?", MessageButtons::YesNo);
    EXPECT_EQ(saves.size(), 0);
    EXPECT_EQ(shown(list).size(), 5);

    m_dialogs.forget();
    chooseRows(list, {"Dead", "Gone"});
    m_dialogs.answerNext(MessageAnswer::Yes);
    click(&check, "cmdDelete");
    expectOnlyMessage("Are you sure you wish to delete these 2 SitePins?\n\nDead\nGone", "Delete SitePins?",
                      MessageButtons::YesNo);
    EXPECT_EQ(saves.size(), 1);
    EXPECT_EQ(shown(list), QStringList({"Intranet", "Old", "Temp"}));
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Intranet", "Mail", "Old", "Temp"}));
    const XmlDocument onDisk = reopenLibrary()->getTheDOM();
    EXPECT_TRUE(onDisk.nodeFromID("W4").isNull());
    EXPECT_TRUE(onDisk.nodeFromID("W5").isNull());
    EXPECT_EQ(onDisk.documentElement().countElementsByTagName("SITEPIN"), 4);
}

TEST_F(LibraryCareTest, cancelStopsAtOnceAndTheMainWindowStaysUsableMeanwhile)
{
    m_server.setAnswer("/slow", {.delayMs = 5000});
    QString sitePins;
    for (int wid = 1; wid <= 12; ++wid)
        sitePins += L::sitePin(wid, QStringLiteral("Page %1").arg(wid), at("/slow") + QStringLiteral("?p=%1").arg(wid));
    startWith(L::folder(1, "Work", sitePins) + L::folder(2, "Home", L::sitePin(13, "Mail", "mailto:a@example.com")));
    frmLinkCheck &check = openLinkCheck();
    QSignalSpy finished(&check, &frmLinkCheck::checkFinished);
    click(&check, "cmdCheck");
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_server.inFlight() == 2; }, 5000));
    EXPECT_EQ(control<QLabel>(&check, "lblProgress")->text(), "Checked 0 of 12");

    window().activateWindow();
    showSitePin("Home", "Mail");
    EXPECT_EQ(ui().lblWName->caption(), "Mail");
    EXPECT_TRUE(check.isChecking());

    click(&check, "cmdCancel");
    ASSERT_EQ(finished.size(), 1);
    EXPECT_TRUE(finished.front().front().toBool());
    EXPECT_EQ(control<QLabel>(&check, "lblProgress")->text(), "Cancelled after 0 of 12");
    EXPECT_TRUE(control<QPushButton>(&check, "cmdCheck")->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_server.inFlight() == 0; }, 3000));
    QTest::qWait(300);
    EXPECT_EQ(m_server.requests().size(), 2);
}

TEST_F(LibraryCareTest, keepingOneOfAGroupDeletesTheOthersInOneSave)
{
    startWith(L::folder(1, "Work",
                        L::sitePin(1, "Docs", "http://Example.com/docs?utm_source=mail") +
                            L::sitePin(2, "News", "https://news.example/today") +
                            L::sitePin(6, "Unique", "https://example.com/other")) +
              L::folder(2, "Home",
                        L::sitePin(3, "Docs again", "https://example.com/docs#intro") +
                            L::sitePin(4, "News copy", "https://NEWS.example/today"),
                        L::folder(3, "Sub", L::sitePin(5, "Docs third", "http://example.com:80/docs"))));
    runMenu("mnuToolsFindDuplicates");
    frmDuplicates *duplicates = window().libraryCare().duplicatesWindow();
    ASSERT_TRUE(duplicates && duplicates->isVisible());
    QTreeWidget *groups = control<QTreeWidget>(duplicates, "tvwGroups");
    ASSERT_EQ(groups->topLevelItemCount(), 2);
    QTreeWidgetItem *docs = groups->topLevelItem(0);
    EXPECT_EQ(docs->text(0), "http://example.com/docs \u2014 3 SitePins \u2014 over http and https");
    EXPECT_EQ(groups->topLevelItem(1)->text(0), "https://news.example/today \u2014 2 SitePins");
    EXPECT_EQ(childNames(docs), QStringList({"Docs", "Docs again", "Docs third"}));
    EXPECT_EQ(docs->child(2)->text(frmDuplicates::FolderColumn), "Home -> Sub");
    EXPECT_EQ(docs->child(2)->text(frmDuplicates::CreatedColumn), "04 Dec 2026");
    QSignalSpy saves(&window(), &frmSitePins::librarySaved);

    chooseRows(groups, {"Docs", "Docs again"});
    click(duplicates, "cmdKeep");
    expectOnlyMessage("Choose one SitePin to keep in each group.", "SitePins");
    EXPECT_EQ(saves.size(), 0);

    m_dialogs.forget();
    chooseRows(groups, {"Docs again"});
    m_dialogs.answerNext(MessageAnswer::Yes);
    click(duplicates, "cmdKeep");
    expectOnlyMessage("Are you sure you wish to delete these 2 SitePins?\n\nDocs\nDocs third", "Delete SitePins?",
                      MessageButtons::YesNo);
    EXPECT_EQ(saves.size(), 1);
    ASSERT_EQ(groups->topLevelItemCount(), 1);

    // A group chosen as a whole keeps its first SitePin.
    m_dialogs.forget();
    chooseRows(groups, {groups->topLevelItem(0)->text(0)});
    m_dialogs.answerNext(MessageAnswer::Yes);
    click(duplicates, "cmdKeep");
    expectOnlyMessage("Are you sure you wish to delete News copy?", "Delete SitePin?", MessageButtons::YesNo);
    EXPECT_EQ(saves.size(), 2);
    EXPECT_EQ(groups->topLevelItemCount(), 0);
    EXPECT_EQ(control<QLabel>(duplicates, "lblSummary")->text(), "No two SitePins have the same address.");
    const XmlDocument onDisk = reopenLibrary()->getTheDOM();
    QStringList left;
    for (const XmlNode &sitePin : onDisk.documentElement().getElementsByTagName("SITEPIN"))
        left << sitePin.getAttribute("WID");
    EXPECT_EQ(left, QStringList({"W2", "W6", "W3"}));
}

} // namespace
