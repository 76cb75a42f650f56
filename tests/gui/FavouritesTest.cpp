#include "finding/Favourites.h"
#include "FindingFixture.h"
#include "layout/CommandSurface.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/TreeNode.h"
#include "platform/StateField.h"
#include "store/XMLDatabase.h"

#include <QTabWidget>

namespace {

// Document order Beta, alpha, Gamma; Delta is no favourite.
QString library()
{
    using L = LibraryText;
    return L::folder(1, "Links",
                     L::sitePin(1, "Beta", "http://beta.example", "", "TRUE") +
                         L::sitePin(2, "alpha", "http://alpha.example", "", "TRUE") +
                         L::sitePin(3, "Gamma", "http://gamma.example", "", "TRUE") +
                         L::sitePin(4, "Delta", "http://delta.example"));
}

class FavouritesTest : public FindingFixture
{
protected:
    void SetUp() override
    {
        FindingFixture::SetUp();
        writeLibraryBody(library());
        start();
    }

    void showFromFolder(const QString &name)
    {
        window().selectLeftTab(0);
        clickFolder("Links");
        clickSitePin(name);
    }

    void showFromFavourites(const QString &name)
    {
        window().selectLeftTab(2);
        clickEntry(ui().tvwFavs, name);
    }

    QString storedFlag(const QString &wid) const
    {
        return reopenLibrary()->getTheDOM().nodeFromID(wid).selectSingleNode("FAV").text();
    }

    QStringList insertionOrderTags()
    {
        QStringList tags;
        for (const QTreeWidgetItem *node : window().favourites().nodesInInsertionOrder())
            tags << TreeNode::tagOf(node);
        return tags;
    }
};

TEST_F(FavouritesTest, listsByNameWhileTheCollectionKeepsDocumentOrder)
{
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"alpha", "Beta", "Gamma"}));
    EXPECT_EQ(window().m_colFavs, QStringList({"W1", "W2", "W3"}));
    EXPECT_EQ(insertionOrderTags(), window().m_colFavs);
}

struct RemoveCase
{
    const char *name;
    const char *wid;
    QStringList shownAfter;
    QStringList collectionAfter;
};

class RemoveFavourite : public FavouritesTest, public ::testing::WithParamInterface<RemoveCase>
{
};

TEST_P(RemoveFavourite, removesThatSitePinsNodeAndFlagAfterAsking)
{
    const RemoveCase &c = GetParam();
    showFromFavourites(c.name);
    m_dialogs.answerNext(MessageAnswer::Yes);
    QTest::mouseClick(ui().cmdFDelete, Qt::LeftButton);

    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    const MessageRequest &asked = m_dialogs.shown().front().request;
    EXPECT_EQ(asked.text, QString("Are you sure you wish to delete %1 from your favorites list?").arg(c.name));
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.icon, MessageIcon::None);
    EXPECT_EQ(entryNames(ui().tvwFavs), c.shownAfter);
    EXPECT_EQ(window().m_colFavs, c.collectionAfter);
    EXPECT_EQ(insertionOrderTags(), c.collectionAfter);
    EXPECT_EQ(storedFlag(c.wid), "FALSE");
    EXPECT_EQ(ui().lblWName->caption(), c.name) << "the panel keeps the SitePin";
}

// Insertion order Beta, alpha, Gamma against display order alpha, Beta, Gamma.
INSTANTIATE_TEST_SUITE_P(Cases, RemoveFavourite,
                         ::testing::Values(RemoveCase{"Gamma", "W3", {"alpha", "Beta"}, {"W1", "W2"}},
                                           RemoveCase{"Beta", "W1", {"alpha", "Gamma"}, {"W2", "W3"}},
                                           RemoveCase{"alpha", "W2", {"Beta", "Gamma"}, {"W1", "W3"}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(FavouritesTest, answeringNoToTheRemovalChangesNothing)
{
    showFromFavourites("Beta");
    const QByteArray before = fileBytes();
    m_dialogs.answerNext(MessageAnswer::No);
    runMenu("mnuFavsDelete");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"alpha", "Beta", "Gamma"}));
    EXPECT_EQ(window().m_colFavs, QStringList({"W1", "W2", "W3"}));
}

TEST_F(FavouritesTest, addingFromTheIndexTabAndAgainSaysItIsAlreadyThere)
{
    showFromFolder("Delta");
    runMenu("mnuFavsAdd");
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    const MessageRequest &added = m_dialogs.shown().back().request;
    EXPECT_EQ(added.text, "The SitePin Delta has been added to your favorite SitePins list");
    EXPECT_EQ(added.title, "SitePins");
    EXPECT_EQ(added.icon, MessageIcon::None);
    EXPECT_EQ(storedFlag("W4"), "TRUE");
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"alpha", "Beta", "Delta", "Gamma"}));
    EXPECT_EQ(window().m_colFavs, QStringList({"W1", "W2", "W3", "W4"}));
    EXPECT_EQ(insertionOrderTags(), window().m_colFavs);

    const QByteArray before = fileBytes();
    window().selectLeftTab(2);
    QTest::mouseClick(ui().cmdFAdd, Qt::LeftButton);
    ASSERT_EQ(m_dialogs.shown().size(), 2u);
    EXPECT_EQ(m_dialogs.lastText(), "The selected SitePin is already in your favorites list");
    EXPECT_EQ(m_dialogs.shown().back().request.title, "SitePins Manager");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(window().m_colFavs.size(), 4);
}

TEST_F(FavouritesTest, addingThenRemovingWritesTheFlagBothTimes)
{
    showFromFolder("Delta");
    runMenu("mnuFavsAdd");
    EXPECT_EQ(storedFlag("W4"), "TRUE");
    m_dialogs.answerNext(MessageAnswer::Yes);
    runMenu("mnuFavsDelete");
    EXPECT_EQ(storedFlag("W4"), "FALSE");
    EXPECT_EQ(window().m_colFavs, QStringList({"W1", "W2", "W3"}));
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"alpha", "Beta", "Gamma"}));
}

// Modifying a SitePin empties the favourites list without touching flags.
TEST_F(FavouritesTest, addingAfterAnEditEmptiedTheListComparesWithTheFlags)
{
    showFromFolder("Delta");
    runMenu("mnuEditModify");
    clickToolbarButton(20);
    ASSERT_TRUE(entryNames(ui().tvwFavs).isEmpty());

    showFromFolder("Beta");
    runMenu("mnuFavsAdd");
    EXPECT_EQ(m_dialogs.lastText(), "The selected SitePin is already in your favorites list");
    EXPECT_EQ(window().m_colFavs, QStringList({"W1", "W2", "W3"}));
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"alpha", "Beta", "Gamma"}));
}

struct MessageCase
{
    const char *command;
    const char *text;
};

class NothingToActOn : public FavouritesTest, public ::testing::WithParamInterface<MessageCase>
{
};

TEST_P(NothingToActOn, saysSoAndChangesNothing)
{
    const QByteArray before = fileBytes();
    window().commands().run(GetParam().command);
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    const MessageRequest &shown = m_dialogs.shown().front().request;
    EXPECT_EQ(shown.text, GetParam().text);
    EXPECT_EQ(shown.title, "SitePins Manager");
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    EXPECT_EQ(shown.icon, MessageIcon::None);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(window().m_colFavs, QStringList({"W1", "W2", "W3"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NothingToActOn,
    ::testing::Values(
        MessageCase{"mnuFavsAdd", "No SitePin is currently selected to add to your favorite SitePins list"},
        MessageCase{"mnuFavsDelete", "No SitePin is currently selected to delete from your favorite SitePins list"}));

TEST_F(FavouritesTest, removingASitePinThatIsNoFavouriteSaysSo)
{
    showFromFolder("Delta");
    const QByteArray before = fileBytes();
    runMenu("mnuFavsDelete");
    EXPECT_EQ(m_dialogs.shownTexts(), QStringList({"The displayed SitePin is not in your favorites list"}));
    EXPECT_EQ(m_dialogs.shown().back().request.title, "SitePins Manager");
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(FavouritesTest, clickingAFavouriteShowsItWithItsFolder)
{
    showFromFavourites("Gamma");
    EXPECT_EQ(ui().lblWName->caption(), "Gamma");
    EXPECT_EQ(ui().lblTName->caption(), "Links");
    EXPECT_EQ(statusPath(), " -> Links");
    EXPECT_EQ(ui().txtTID->text(), "T1");
    EXPECT_EQ(ui().txtModTab->text(), "2");
    EXPECT_EQ(window().m_strCurrentWID, "W3");
}

TEST_F(FavouritesTest, anotherLibraryBringsItsOwnFavourites)
{
    const QString other = programFolder() + "/Other.xml";
    ASSERT_TRUE(LibraryText::writeFile(
        other, LibraryText::document(LibraryText::folder(1, "Elsewhere",
                                                         LibraryText::sitePin(1, "Private", "", "", "FALSE") +
                                                             LibraryText::sitePin(2, "Kept", "", "", "TRUE")))));
    m_dialogs.chooseFileNext(other);
    runMenu("mnuFileOpen");
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"Kept"}));
    EXPECT_EQ(window().m_colFavs, QStringList({"W2"}));
}

struct FlagCase
{
    const char *flag;
    bool favourite;
};

class FlagText : public FindingFixture, public ::testing::WithParamInterface<FlagCase>
{
};

TEST_P(FlagText, countsAsFavouriteOnlyWhenItReadsTrueInAnyCase)
{
    writeLibraryBody(LibraryText::folder(1, "Links", LibraryText::sitePin(1, "Flagged", "", "", GetParam().flag)));
    start();
    EXPECT_EQ(entryNames(ui().tvwFavs), GetParam().favourite ? QStringList({"Flagged"}) : QStringList());
}

INSTANTIATE_TEST_SUITE_P(Cases, FlagText,
                         ::testing::Values(FlagCase{"true", true}, FlagCase{"tRuE", true}, FlagCase{"TRUE", true},
                                           FlagCase{"yes", false}, FlagCase{"FALSE", false}, FlagCase{"", false},
                                           FlagCase{"TRUE!", false}));

} // namespace
