#include "finding/Favourites.h"
#include "FindingFixture.h"
#include "mainwindow/SitePinListModel.h"

namespace {

class FavouritesTest : public FindingFixture
{
protected:
    // Document order Beta, alpha, Gamma; Delta is no favourite.
    void SetUp() override
    {
        FindingFixture::SetUp();
        startWith(LibraryText::folder(1, "Links",
                                      favourite(1, "Beta") + favourite(2, "alpha") + favourite(3, "Gamma") +
                                          LibraryText::sitePin(4, "Delta")));
    }

    void showFromFolder(const QString &name)
    {
        window().selectLeftTab(0);
        showSitePin("Links", name);
    }

    QString storedFlag(const QString &wid) const
    {
        return reopenLibrary()->getTheDOM().nodeFromID(wid).selectSingleNode("FAV").text();
    }

    // The list shown, and the collection and its nodes, in insertion order.
    void expectFavourites(const QStringList &shown, const QStringList &collection)
    {
        EXPECT_EQ(entryNames(ui().tvwFavs), shown);
        EXPECT_EQ(window().m_colFavs, collection);
        EXPECT_EQ(ui().favsModel->widsInAddedOrder(), collection);
    }
};

// Insertion order Beta, alpha, Gamma against display order alpha, Beta, Gamma.
TEST_F(FavouritesTest, listsByNameAndRemovingOneRemovesThatSitePinsNodeAndFlagAfterAsking)
{
    expectFavourites({"alpha", "Beta", "Gamma"}, {"W1", "W2", "W3"});
    window().selectLeftTab(2);
    clickEntry(ui().tvwFavs, "Beta");
    const QByteArray before = fileBytes();
    m_dialogs.answerNext(MessageAnswer::No);
    runMenu("mnuFavsDelete");
    EXPECT_EQ(fileBytes(), before) << "No changes nothing";
    expectFavourites({"alpha", "Beta", "Gamma"}, {"W1", "W2", "W3"});

    struct Case
    {
        const char *name, *wid;
        QStringList shownAfter, collectionAfter;
    };
    for (const Case &c : {Case{"Gamma", "W3", {"alpha", "Beta"}, {"W1", "W2"}}, Case{"Beta", "W1", {"alpha"}, {"W2"}},
                          Case{"alpha", "W2", {}, {}}}) {
        clickEntry(ui().tvwFavs, c.name);
        m_dialogs.forget();
        m_dialogs.answerNext(MessageAnswer::Yes);
        QTest::mouseClick(ui().cmdFDelete, Qt::LeftButton);
        expectOnlyMessage(QString("Are you sure you wish to delete %1 from your favorites list?").arg(c.name),
                          "SitePins Manager", MessageButtons::YesNo);
        expectFavourites(c.shownAfter, c.collectionAfter);
        EXPECT_EQ(storedFlag(c.wid), "FALSE");
        EXPECT_EQ(ui().lblWName->caption(), c.name) << "the panel keeps the SitePin";
    }
}

TEST_F(FavouritesTest, addingFromTheIndexTabAndAgainSaysItIsAlreadyThere)
{
    showFromFolder("Delta");
    runMenu("mnuFavsAdd");
    expectOnlyMessage("The SitePin Delta has been added to your favorite SitePins list", "SitePins");
    EXPECT_EQ(storedFlag("W4"), "TRUE");
    expectFavourites({"alpha", "Beta", "Delta", "Gamma"}, {"W1", "W2", "W3", "W4"});

    const QByteArray before = fileBytes();
    window().selectLeftTab(2);
    m_dialogs.forget();
    QTest::mouseClick(ui().cmdFAdd, Qt::LeftButton);
    expectOnlyMessage("The selected SitePin is already in your favorites list", "SitePins Manager");
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(window().m_colFavs.size(), 4);
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
    expectFavourites({"alpha", "Beta", "Gamma"}, {"W1", "W2", "W3"});
}

// The last one is Delete with Delta shown.
TEST_F(FavouritesTest, withNothingToActOnTheCommandsSaySoAndChangeNothing)
{
    const QByteArray before = fileBytes();
    for (const auto &[command, text] :
         {std::pair{"mnuFavsAdd", "No SitePin is currently selected to add to your favorite SitePins list"},
          {"mnuFavsDelete", "No SitePin is currently selected to delete from your favorite SitePins list"},
          {"", "The displayed SitePin is not in your favorites list"}}) {
        m_dialogs.forget();
        if (*command) {
            window().commands().run(command);
        } else {
            showFromFolder("Delta");
            runMenu("mnuFavsDelete");
        }
        expectOnlyMessage(text, "SitePins Manager");
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(window().m_colFavs, QStringList({"W1", "W2", "W3"}));
    }
}

// The list named identifiers of the library File > Open replaced; there a
// flag counts only when it reads true in any case.
TEST_F(FavouritesTest, anotherLibraryBringsItsOwnFavourites)
{
    QString pins;
    int wid = 0;
    for (const char *flag : {"FALSE", "true", "yes", "tRuE", "", "TRUE", "TRUE!"})
        pins += LibraryText::sitePin(++wid, QStringLiteral("[%1]").arg(flag), "", "", flag);
    openOther(LibraryText::folder(1, "Elsewhere", pins));
    expectFavourites({"[TRUE]", "[tRuE]", "[true]"}, {"W2", "W4", "W6"});
}

} // namespace
