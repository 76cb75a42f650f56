#include "FindingFixture.h"
#include "mainwindow/TreeNode.h"

#include <QMenu>
#include <QScopeGuard>
#include <QTextDocument>

namespace {

using L = LibraryText;

// Document order: News, Good NEWS today, newsletter, Weather, Chess, Roses,
// then the Letters, which have names only.
QString library()
{
    return L::folder(1, "News sites",
                     L::sitePin(1, "News", "http://news.example", "daily", "TRUE") +
                         L::sitePin(2, "Good NEWS today", "http://good.example", "", "FALSE") +
                         L::sitePin(3, "newsletter", "http://letters.example", "weekly", "true") +
                         L::sitePin(4, "Weather", "http://news.weather.example", "rain", "FALSE")) +
           L::folder(2, "Hobbies", L::sitePin(6, "Chess", "http://chess.example"),
                     L::folder(3, "Garden",
                               L::sitePin(5, "Roses", "http://roses.example/?a=1&b=<i>", "prune in spring", "TRUE"))) +
           L::folder(4, "Letters",
                     L::sitePin(7, "Ma\u017Fs transit") + L::sitePin(8, "Heater") + L::sitePin(9, "Z\u00FCrich") +
                         L::sitePin(10, "Cr\u00E8me br\u00FBl\u00E9e RECIPE", "", "", "FALSE", "20 \u212A max") +
                         L::sitePin(11, "\u0130STANBUL guide"));
}

// What a tooltip text shows on screen.
QString shownTooltip(const QString &tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

class SearchTest : public FindingFixture
{
protected:
    void SetUp() override
    {
        FindingFixture::SetUp();
        startWith(library());
    }
};

// Case folding maps the long s onto "s" and the Kelvin sign onto "k"; other
// letters with marks stay apart from the plain ones.
TEST_F(SearchTest, listsTheHitsInDocumentOrderAndCountsThem)
{
    const std::tuple<SearchOption, const char *, QStringList> table[] = {
        {NameOnly, "news", {"News", "Good NEWS today", "newsletter"}}, // case ignored, addresses not searched
        {FullText, "TRUE", {"News", "newsletter", "Roses"}},           // every favourite
        {NotesOnly, "", {"News", "newsletter", "Weather", "Roses"}},   // the SitePins with notes
        {AddressOnly, "NEWS", {"News", "Weather"}},
        {FullText, "spring", {"Roses"}}, // in the notes
        {FullText, "example", {"News", "Good NEWS today", "newsletter", "Weather", "Chess", "Roses"}},
        {NameOnly, "MASS", {"Ma\u017Fs transit"}},
        {FullText, "20 k", {"Cr\u00E8me br\u00FBl\u00E9e RECIPE"}},
        {NameOnly, "recipe", {"Cr\u00E8me br\u00FBl\u00E9e RECIPE"}}};
    for (const auto &[option, term, hits] : table) {
        SCOPED_TRACE(term);
        for (const bool byEnter : {false, true}) { // the same search gives the same list
            search(option, term, byEnter);
            EXPECT_EQ(entryNames(ui().tvwSearch), hits);
        }
        EXPECT_EQ(ui().lblFound->text(), QString::number(hits.size()));
        EXPECT_TRUE(ui().tvwSearch->isVisible());
        EXPECT_FALSE(QApplication::overrideCursor()) << "the hourglass is gone";
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
}

// A term spanning the end of one field and the start of the next is no hit.
// Enter runs the search once: one message.
TEST_F(SearchTest, noHitsShowTheMessageOverTheOldResultsThenEmptyTheList)
{
    for (const auto &[option, term] :
         {std::pair{FullText, "zzz"}, {FullText, "todayhttp"}, {NameOnly, "example"}, {NameOnly, "zurich"}}) {
        SCOPED_TRACE(term);
        search(NameOnly, "news");
        QStringList listedDuringMessage;
        m_dialogs.forget();
        m_dialogs.whileNextMessageIsShown([&] {
            if (ui().tvwSearch->isVisible())
                listedDuringMessage = entryNames(ui().tvwSearch);
        });
        search(option, term, true);
        expectOnlyMessage("No search results were found", "SitePins Manager");
        EXPECT_EQ(listedDuringMessage, QStringList({"News", "Good NEWS today", "newsletter"}));
        EXPECT_TRUE(entryNames(ui().tvwSearch).isEmpty());
        EXPECT_EQ(ui().lblFound->text(), "0");
        EXPECT_TRUE(ui().tvwSearch->isVisible());
    }
}

// Turkish pairs I with ı and İ with i; elsewhere I pairs with i.
TEST_F(SearchTest, caseFollowsTheUsersLocale)
{
    const QLocale before;
    const auto restore = qScopeGuard([before] { QLocale::setDefault(before); });
    for (const auto &[language, term] : {std::pair{QLocale::Turkish, "istanbul"}, {QLocale::English, "GUIDE"}}) {
        QLocale::setDefault(QLocale(language));
        search(NameOnly, term);
        EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"\u0130STANBUL guide"})) << term;
    }
}

TEST_F(SearchTest, aHitShowsTheSitePinWithItsFolderAndLeavesTheTreeAlone)
{
    clickFolder("News sites");
    QTreeWidgetItem *treeSelection = ui().tvwTopics->currentItem();
    const QStringList folderList = entryNames(ui().tvwWM);
    search(FullText, "");
    for (const auto &[hit, path, folder, tid] : {std::tuple{"Chess", " -> Hobbies", "Hobbies", "T2"},
                                                 {"Roses", " -> Hobbies -> Garden", "Garden", "T3"},
                                                 {"Weather", " -> News sites", "News sites", "T1"}}) {
        clickEntry(ui().tvwSearch, hit);
        EXPECT_EQ(shownSitePin(), QStringList({hit, folder, tid, path}));
        EXPECT_EQ(ui().txtModTab->text(), "1");
        EXPECT_EQ(window().m_strCurrentWID, ui().txtWID->text());
        EXPECT_EQ(ui().tvwTopics->currentItem(), treeSelection);
        EXPECT_EQ(entryNames(ui().tvwWM), folderList);
    }
    ui().tvwSearch->setCurrentIndex(entry(ui().tvwSearch, "News"));
    QTest::keyClick(ui().tvwSearch, Qt::Key_Return);
    EXPECT_EQ(ui().lblWName->caption(), "News") << "Enter shows the selected hit";
    EXPECT_TRUE(m_dialogs.shown().empty());
}

// The next searches find the saved edit, not the old text.
TEST_F(SearchTest, clickingAHitDuringAnEditAsksNoKeepsItAndOnceSavedItIsWhatASearchFinds)
{
    search(FullText, "");
    clickEntry(ui().tvwSearch, "News");
    runMenu("mnuEditModify");
    ui().txtWName->selectAll();
    QTest::keyClicks(ui().txtWName, "Tulips");
    m_dialogs.answerNext(MessageAnswer::No);
    clickEntry(ui().tvwSearch, "Roses");
    EXPECT_EQ(m_dialogs.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(shownSitePin(), QStringList({"News", "News sites", "T1", " -> News sites"}));
    EXPECT_EQ(ui().txtWName->text(), "Tulips");
    EXPECT_TRUE(window().m_blnEditMode);

    clickToolbarButton(20);
    ASSERT_EQ(ui().txtMode->text(), "");
    search(NameOnly, "tulip");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"Tulips"}));
    search(NameOnly, "news");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"Good NEWS today", "newsletter"}));
}

// The last one is toolbar button 10, with the option of the first.
TEST_F(SearchTest, toolsSearchSwitchesToTheSearchBoxWithTheOptionButSearchesNothing)
{
    search(NameOnly, "news");
    const char *const commands[] = {"mnuToolsSearchText", "mnuToolsSearchName", "mnuToolsSearchAddress",
                                    "mnuToolsSearchNotes", ""};
    for (int index = 0; index < 5; ++index) {
        const int option = index % 4;
        QTest::mouseClick(ui().optSearch[option == 3 ? 0 : 3], Qt::LeftButton);
        window().selectLeftTab(0);
        typeSearchTerm("roses");
        if (index < 4)
            runMenu(commands[index]);
        else
            clickToolbarButton(10);
        EXPECT_EQ(ui().tabIndex->currentIndex(), 1);
        EXPECT_EQ(QApplication::focusWidget(), ui().txtSearch);
        EXPECT_TRUE(ui().optSearch[option]->isChecked()) << commands[index];
        EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"News", "Good NEWS today", "newsletter"}));
        EXPECT_EQ(ui().lblFound->text(), "3");
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
}

// The search results and the favourites share their mouse handling.
class ListMouse : public SearchTest, public ::testing::WithParamInterface<int>
{
protected:
    QTreeView *list() { return GetParam() == 1 ? ui().tvwSearch : ui().tvwFavs; }

    void SetUp() override
    {
        SearchTest::SetUp();
        if (GetParam() == 1)
            search(FullText, "TRUE");
        window().selectLeftTab(GetParam());
        ASSERT_EQ(entryNames(list()).size(), 3);
    }

    QPoint below() { return QPoint(10, list()->viewport()->height() - 5); }
    QPoint centreOf(const QString &name) { return list()->visualRect(entry(list(), name)).center(); }
};

// A right click on empty space shows no menu and keeps the selection. An
// address with markup in it shows as typed, not as rich text.
TEST_P(ListMouse, rightButtonSelectsAndOffersTheMenuAndThePointerShowsTheAddress)
{
    QMenu *popup = ui().commands->popupMenu();
    const auto closePopup = qScopeGuard([popup] { popup->hide(); });
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, centreOf("Roses"));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(selectedEntryName(list()), "Roses");
    EXPECT_EQ(window().m_objClickedNode.data(TreeNode::TagRole).toString(), "W5");
    EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected") << "the hit is not shown";
    popup->hide();
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, below());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_FALSE(window().m_objClickedNode.isValid());
    EXPECT_EQ(selectedEntryName(list()), "Roses");

    movePointer(list()->viewport(), centreOf("Roses"));
    EXPECT_EQ(shownTooltip(ui().Splitter2->toolTip()), "http://roses.example/?a=1&b=<i>");
    movePointer(list()->viewport(), centreOf("News"));
    EXPECT_EQ(shownTooltip(ui().Splitter2->toolTip()), "http://news.example");
    movePointer(list()->viewport(), below());
    EXPECT_EQ(ui().Splitter2->toolTip(), "");
}

INSTANTIATE_TEST_SUITE_P(Lists, ListMouse, ::testing::Values(1, 2),
                         [](const auto &info) { return std::string(info.param == 1 ? "results" : "favourites"); });

// The results named identifiers of the library File > Open replaced.
TEST_F(SearchTest, anotherLibraryEmptiesTheResults)
{
    search(NameOnly, "news");
    openOther(L::folder(1, "Elsewhere", L::sitePin(1, "Private")));
    EXPECT_TRUE(entryNames(ui().tvwSearch).isEmpty()) << "W1 is another SitePin there";
    EXPECT_EQ(ui().lblFound->text(), "0");
    search(FullText, "private");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"Private"}));
}

TEST_F(SearchTest, anEntryWhoseSitePinIsGoneShowsNothing)
{
    search(FullText, "TRUE");
    clickEntry(ui().tvwSearch, "News");
    XmlNode roses = window().m_objDOMSitePins.nodeFromID("W5");
    ASSERT_TRUE(roses.parentNode().removeChild(roses));
    clickEntry(ui().tvwSearch, "Roses");
    EXPECT_EQ(shownSitePin(), QStringList({"News", "News sites", "T1", " -> News sites"}));
    EXPECT_EQ(window().m_strCurrentWID, "W1");
    movePointer(ui().tvwSearch->viewport(), ui().tvwSearch->visualRect(entry(ui().tvwSearch, "Roses")).center());
    EXPECT_EQ(ui().Splitter2->toolTip(), "");
}

} // namespace
