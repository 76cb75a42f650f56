#include "finding/Favourites.h"
#include "FindingFixture.h"
#include "mainwindow/TreeNode.h"

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
        startWith(library());
    }

    void showFromFolder(const QString &name)
    {
        window().selectLeftTab(0);
        showSitePin("Links", name);
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

    // The list shown, and the collection and its nodes, in insertion order.
    void expectFavourites(const QStringList &shown, const QStringList &collection)
    {
        EXPECT_EQ(entryNames(ui().tvwFavs), shown);
        EXPECT_EQ(window().m_colFavs, collection);
        QStringList tags;
        for (const QTreeWidgetItem *node : window().favourites().nodesInInsertionOrder())
            tags << TreeNode::tagOf(node);
        EXPECT_EQ(tags, collection);
    }
};

TEST_F(FavouritesTest, listsByNameWhileTheCollectionKeepsDocumentOrder)
{
    expectFavourites({"alpha", "Beta", "Gamma"}, {"W1", "W2", "W3"});
}

// Insertion order Beta, alpha, Gamma against display order alpha, Beta, Gamma.
TEST_F(FavouritesTest, removingOneRemovesThatSitePinsNodeAndFlagAfterAsking)
{
    struct Case
    {
        const char *name, *wid;
        QStringList shownAfter, collectionAfter;
    };
    for (const Case &c : {Case{"Gamma", "W3", {"alpha", "Beta"}, {"W1", "W2"}}, Case{"Beta", "W1", {"alpha"}, {"W2"}},
                          Case{"alpha", "W2", {}, {}}}) {
        showFromFavourites(c.name);
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

TEST_F(FavouritesTest, answeringNoToTheRemovalChangesNothing)
{
    showFromFavourites("Beta");
    const QByteArray before = fileBytes();
    m_dialogs.answerNext(MessageAnswer::No);
    runMenu("mnuFavsDelete");
    EXPECT_EQ(fileBytes(), before);
    expectFavourites({"alpha", "Beta", "Gamma"}, {"W1", "W2", "W3"});
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

TEST_F(FavouritesTest, withNothingToActOnTheCommandsSaySoAndChangeNothing)
{
    const QByteArray before = fileBytes();
    const std::pair<const char *, const char *> commands[] = {
        {"mnuFavsAdd", "No SitePin is currently selected to add to your favorite SitePins list"},
        {"mnuFavsDelete", "No SitePin is currently selected to delete from your favorite SitePins list"},
        {"", "The displayed SitePin is not in your favorites list"}}; // Delete with Delta shown
    for (const auto &[command, text] : commands) {
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

// The list named identifiers of the library File > Open replaced.
TEST_F(FavouritesTest, anotherLibraryBringsItsOwnFavourites)
{
    const QString other = programFolder() + "/Other.xml";
    ASSERT_TRUE(LibraryText::writeFile(
        other, LibraryText::document(LibraryText::folder(1, "Elsewhere",
                                                         LibraryText::sitePin(1, "Private", "", "", "FALSE") +
                                                             LibraryText::sitePin(2, "Kept", "", "", "TRUE")))));
    m_dialogs.chooseFileNext(other);
    runMenu("mnuFileOpen");
    expectFavourites({"Kept"}, {"W2"});
}

TEST_F(FavouritesTest, aFlagCountsOnlyWhenItReadsTrueInAnyCase)
{
    QString pins;
    int wid = 0;
    for (const char *flag : {"true", "tRuE", "TRUE", "yes", "FALSE", "", "TRUE!"})
        pins += LibraryText::sitePin(++wid, QStringLiteral("[%1]").arg(flag), "", "", flag);
    writeLibraryBody(LibraryText::folder(1, "Links", pins));
    m_dialogs.chooseFileNext(libraryPath());
    runMenu("mnuFileOpen");
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"[TRUE]", "[tRuE]", "[true]"}));
}

} // namespace
