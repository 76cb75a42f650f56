#include "FindingFixture.h"
#include "layout/CommandSurface.h"
#include "layout/SplitterWidget.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/TreeNode.h"
#include "platform/StateField.h"
#include "store/XmlNode.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTextDocument>

namespace {

// Document order: News, Good NEWS today, newsletter, Weather, Chess, Roses.
QString library()
{
    using L = LibraryText;
    return L::folder(1, "News sites",
                     L::sitePin(1, "News", "http://news.example", "daily", "TRUE") +
                         L::sitePin(2, "Good NEWS today", "http://good.example", "", "FALSE") +
                         L::sitePin(3, "newsletter", "http://letters.example", "weekly", "true") +
                         L::sitePin(4, "Weather", "http://news.weather.example", "rain", "FALSE")) +
           L::folder(2, "Hobbies", L::sitePin(6, "Chess", "http://chess.example"),
                     L::folder(3, "Garden",
                               L::sitePin(5, "Roses", "http://roses.example/?a=1&b=<i>", "prune in spring", "TRUE")));
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
        writeLibraryBody(library());
        start();
    }
};

struct HitCase
{
    const char *label;
    SearchOption option;
    const char *term;
    QStringList hits;
};

class SearchHits : public SearchTest, public ::testing::WithParamInterface<HitCase>
{
};

TEST_P(SearchHits, listsTheHitsInDocumentOrderAndCountsThem)
{
    const HitCase &c = GetParam();
    search(c.option, QString::fromUtf8(c.term));
    EXPECT_TRUE(m_dialogs.shown().empty());
    EXPECT_EQ(entryNames(ui().tvwSearch), c.hits);
    EXPECT_EQ(ui().lblFound->text(), QString::number(c.hits.size()));
    EXPECT_TRUE(ui().tvwSearch->isVisible());
    EXPECT_FALSE(QApplication::overrideCursor()) << "the hourglass is gone";

    search(c.option, QString::fromUtf8(c.term));
    EXPECT_EQ(entryNames(ui().tvwSearch), c.hits) << "the same search gives the same list";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchHits,
    ::testing::Values(
        HitCase{"nameIgnoresCaseAndAddresses", NameOnly, "news", {"News", "Good NEWS today", "newsletter"}},
        HitCase{"fullTextFindsEveryFavourite", FullText, "TRUE", {"News", "newsletter", "Roses"}},
        HitCase{"emptyTermListsSitePinsWithNotes", NotesOnly, "", {"News", "newsletter", "Weather", "Roses"}},
        HitCase{"addressOnly", AddressOnly, "NEWS", {"News", "Weather"}},
        HitCase{"fullTextCoversEveryField", FullText, "news", {"News", "Good NEWS today", "newsletter", "Weather"}},
        HitCase{"subFolderHitsFollowTheirParentsSitePins",
                FullText,
                "example",
                {"News", "Good NEWS today", "newsletter", "Weather", "Chess", "Roses"}}),
    [](const auto &info) { return std::string(info.param.label); });

struct MissCase
{
    const char *label;
    SearchOption option;
    const char *term;
};

class SearchMisses : public SearchTest, public ::testing::WithParamInterface<MissCase>
{
};

TEST_P(SearchMisses, showsTheMessageOverTheOldResultsThenEmptiesTheList)
{
    search(NameOnly, "news");
    ASSERT_EQ(entryNames(ui().tvwSearch).size(), 3);
    QStringList listedDuringMessage;
    bool visibleDuringMessage = false;
    m_dialogs.whileNextMessageIsShown([&] {
        listedDuringMessage = entryNames(ui().tvwSearch);
        visibleDuringMessage = ui().tvwSearch->isVisible();
    });
    search(GetParam().option, QString::fromLatin1(GetParam().term));
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    const MessageRequest &shown = m_dialogs.shown().front().request;
    EXPECT_EQ(shown.text, "No search results were found");
    EXPECT_EQ(shown.title, "SitePins Manager");
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shown.icon, MessageIcon::None);
    EXPECT_EQ(listedDuringMessage, QStringList({"News", "Good NEWS today", "newsletter"}));
    EXPECT_TRUE(visibleDuringMessage);
    EXPECT_TRUE(entryNames(ui().tvwSearch).isEmpty());
    EXPECT_EQ(ui().lblFound->text(), "0");
    EXPECT_TRUE(ui().tvwSearch->isVisible());
}

// A term spanning the end of one field and the start of the next is no hit.
INSTANTIATE_TEST_SUITE_P(Cases, SearchMisses,
                         ::testing::Values(MissCase{"unknownWord", FullText, "zzz"},
                                           MissCase{"acrossTwoFields", FullText, "todayhttp"},
                                           MissCase{"wordOnlyInAddresses", NameOnly, "example"}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(SearchTest, enterInTheSearchBoxRunsTheSearchOnce)
{
    window().selectLeftTab(1);
    typeSearchTerm("nothing like this");
    QTest::keyClick(ui().txtSearch, Qt::Key_Return);
    EXPECT_EQ(m_dialogs.shownTexts(), QStringList({"No search results were found"}));

    typeSearchTerm("roses");
    QTest::keyClick(ui().txtSearch, Qt::Key_Return);
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"Roses"}));
}

struct FolderCase
{
    const char *hit;
    const char *path;
    const char *folder;
    const char *tid;
};

class HitFolder : public SearchTest, public ::testing::WithParamInterface<FolderCase>
{
};

TEST_P(HitFolder, showsTheSitePinWithItsFolderAndLeavesTheTreeAlone)
{
    clickFolder("News sites");
    QTreeWidgetItem *treeSelection = ui().tvwTopics->currentItem();
    const QStringList folderList = entryNames(ui().tvwWM);
    search(FullText, "");
    clickEntry(ui().tvwSearch, GetParam().hit);

    EXPECT_EQ(statusPath(), GetParam().path);
    EXPECT_EQ(ui().lblTName->caption(), GetParam().folder);
    EXPECT_EQ(ui().txtTID->text(), GetParam().tid);
    EXPECT_EQ(ui().lblWName->caption(), GetParam().hit);
    EXPECT_EQ(ui().txtModTab->text(), "1");
    EXPECT_EQ(window().m_strCurrentWID, ui().txtWID->text());
    EXPECT_EQ(ui().tvwTopics->currentItem(), treeSelection);
    EXPECT_EQ(entryNames(ui().tvwWM), folderList);
    EXPECT_TRUE(m_dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, HitFolder,
                         ::testing::Values(FolderCase{"Chess", " -> Hobbies", "Hobbies", "T2"},
                                           FolderCase{"Roses", " -> Hobbies -> Garden", "Garden", "T3"},
                                           FolderCase{"Weather", " -> News sites", "News sites", "T1"}));

TEST_F(SearchTest, enterInTheResultsShowsTheSelectedHit)
{
    search(NameOnly, "o");
    ui().tvwSearch->setCurrentItem(entry(ui().tvwSearch, "Roses"));
    QTest::keyClick(ui().tvwSearch, Qt::Key_Return);
    EXPECT_EQ(ui().lblWName->caption(), "Roses");
    EXPECT_EQ(ui().lblTName->caption(), "Garden");
}

TEST_F(SearchTest, clickingAHitDuringAnEditAsksAndNoKeepsTheEdit)
{
    search(FullText, "");
    clickEntry(ui().tvwSearch, "News");
    runMenu("mnuEditModify");
    QTest::keyClick(ui().txtWName, Qt::Key_End);
    QTest::keyClicks(ui().txtWName, " changed");
    m_dialogs.answerNext(MessageAnswer::No);
    clickEntry(ui().tvwSearch, "Roses");
    EXPECT_EQ(m_dialogs.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(ui().lblWName->caption(), "News");
    EXPECT_EQ(ui().txtWName->text(), "News changed");
    EXPECT_EQ(ui().txtMode->text(), "mod");
    EXPECT_TRUE(window().m_blnEditMode);
    EXPECT_EQ(ui().lblTName->caption(), "News sites");
}

struct ToolsCase
{
    const char *command; // empty: toolbar button 10
    int option;
};

class ToolsSearch : public SearchTest, public ::testing::WithParamInterface<ToolsCase>
{
};

TEST_P(ToolsSearch, switchesToTheSearchBoxWithTheOptionButSearchesNothing)
{
    search(NameOnly, "news");
    const int other = GetParam().option == 3 ? 0 : 3;
    QTest::mouseClick(ui().optSearch[other], Qt::LeftButton);
    window().selectLeftTab(0);
    typeSearchTerm("roses");
    if (*GetParam().command)
        runMenu(GetParam().command);
    else
        clickToolbarButton(10);

    EXPECT_EQ(ui().tabIndex->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), ui().txtSearch);
    EXPECT_TRUE(ui().optSearch[GetParam().option]->isChecked());
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"News", "Good NEWS today", "newsletter"}));
    EXPECT_EQ(ui().lblFound->text(), "3");
    EXPECT_TRUE(m_dialogs.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ToolsSearch,
                         ::testing::Values(ToolsCase{"mnuToolsSearchText", 0}, ToolsCase{"mnuToolsSearchName", 1},
                                           ToolsCase{"mnuToolsSearchAddress", 2}, ToolsCase{"mnuToolsSearchNotes", 3},
                                           ToolsCase{"", 0}));

// The search results and the favourites share their mouse handling.
class ListMouse : public SearchTest, public ::testing::WithParamInterface<int>
{
protected:
    QTreeWidget *list() { return GetParam() == 1 ? ui().tvwSearch : ui().tvwFavs; }

    void SetUp() override
    {
        SearchTest::SetUp();
        if (GetParam() == 1)
            search(FullText, "TRUE");
        window().selectLeftTab(GetParam());
        ASSERT_EQ(entryNames(list()).size(), 3);
    }

    QPoint below() { return QPoint(10, list()->viewport()->height() - 5); }
    QPoint centreOf(const QString &name) { return list()->visualItemRect(entry(list(), name)).center(); }
};

TEST_P(ListMouse, rightButtonOnAnEntrySelectsItAndOffersTheMenuWithoutShowingIt)
{
    QMenu *popup = ui().commands->popupMenu();
    const auto closePopup = qScopeGuard([popup] { popup->hide(); });
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, centreOf("Roses"));
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(selectedEntryName(list()), "Roses");
    EXPECT_EQ(window().m_objClickedNode.data(TreeNode::TagRole).toString(), "W5");
    EXPECT_EQ(ui().lblWName->caption(), "No SitePin selected") << "the hit is not shown";
}

TEST_P(ListMouse, rightButtonOnEmptySpaceOffersNoMenuAndKeepsTheSelection)
{
    clickEntry(list(), "News");
    QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, below());
    EXPECT_FALSE(ui().commands->popupMenu()->isVisible());
    EXPECT_FALSE(window().m_objClickedNode.isValid());
    EXPECT_EQ(selectedEntryName(list()), "News");
}

TEST_P(ListMouse, pointerOverAnEntryShowsItsAddressAsTyped)
{
    movePointer(list()->viewport(), centreOf("Roses"));
    EXPECT_EQ(shownTooltip(ui().Splitter2->toolTip()), "http://roses.example/?a=1&b=<i>");
    movePointer(list()->viewport(), centreOf("News"));
    EXPECT_EQ(shownTooltip(ui().Splitter2->toolTip()), "http://news.example");
    movePointer(list()->viewport(), below());
    EXPECT_EQ(ui().Splitter2->toolTip(), "");
}

INSTANTIATE_TEST_SUITE_P(Lists, ListMouse, ::testing::Values(1, 2),
                         [](const auto &info) { return std::string(info.param == 1 ? "results" : "favourites"); });

TEST_F(SearchTest, anotherLibraryEmptiesTheResults)
{
    search(NameOnly, "news");
    const QString other = programFolder() + "/Other.xml";
    ASSERT_TRUE(LibraryText::writeFile(
        other, LibraryText::document(LibraryText::folder(1, "Elsewhere", LibraryText::sitePin(1, "Private")))));
    m_dialogs.chooseFileNext(other);
    runMenu("mnuFileOpen");
    EXPECT_TRUE(entryNames(ui().tvwSearch).isEmpty()) << "W1 is another SitePin there";
    EXPECT_EQ(ui().lblFound->text(), "0");
}

TEST_F(SearchTest, anEntryWhoseSitePinIsGoneShowsNothing)
{
    search(FullText, "TRUE");
    clickEntry(ui().tvwSearch, "News");
    XmlNode roses = window().m_objDOMSitePins.nodeFromID("W5");
    ASSERT_TRUE(roses.parentNode().removeChild(roses));

    clickEntry(ui().tvwSearch, "Roses");
    EXPECT_EQ(ui().lblWName->caption(), "News");
    EXPECT_EQ(ui().txtTID->text(), "T1");
    EXPECT_EQ(window().m_strCurrentWID, "W1");
    movePointer(ui().tvwSearch->viewport(), ui().tvwSearch->visualItemRect(entry(ui().tvwSearch, "Roses")).center());
    EXPECT_EQ(ui().Splitter2->toolTip(), "");
}

// Turkish pairs I with ı and İ with i; elsewhere I pairs with i.
TEST_F(SearchTest, caseFollowsTheUsersLocale)
{
    const QLocale before;
    const auto restore = qScopeGuard([before] { QLocale::setDefault(before); });
    writeLibraryBody(LibraryText::folder(1, "Trips", LibraryText::sitePin(1, "İSTANBUL guide")));
    m_dialogs.chooseFileNext(libraryPath());
    runMenu("mnuFileOpen");

    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    search(NameOnly, "istanbul");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"İSTANBUL guide"}));

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    search(NameOnly, "guide");
    search(NameOnly, "GUIDE");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"İSTANBUL guide"}));
}

} // namespace
