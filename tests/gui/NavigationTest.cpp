#include "FindingFixture.h"

#include <array>
#include <tuple>

namespace {

using L = LibraryText;

// The Go commands in menu order, and the ways to give them.
constexpr int First = 0, Previous = 1, Next = 2, Last = 3;
constexpr int Menu = 0, Keys = 1, Toolbar = 2;

class NavigationTest : public FindingFixture
{
protected:
    // Letters in document order b, A, c; Other holds d. A current folder
    // enables the Go commands, whatever the tab.
    void showTab(int tab)
    {
        startWith(L::folder(1, "Letters", favourite(1, "b") + favourite(2, "A") + favourite(3, "c")) +
                  L::folder(2, "Other", L::sitePin(4, "d")));
        clickFolder("Letters");
        if (tab == 1)
            search(NameOnly, "");
        window().selectLeftTab(tab);
    }

    void go(int step, int trigger = Menu)
    {
        const char *const commands[] = {"mnuNavFirst", "mnuNavPrevious", "mnuNavNext", "mnuNavLast"};
        QWidget *focus = QApplication::focusWidget();
        if (trigger == Menu)
            runMenu(commands[step]);
        else if (trigger == Keys)
            QTest::keyClick(focus ? focus : &window(), Qt::Key(Qt::Key_F2 + step));
        else
            clickToolbarButton(5 + step);
    }

    QString shown() { return ui().lblWName->caption(); }
};

// The folder's list and the favourites by name, the results in document order.
const std::pair<int, QStringList> kOrders[] = {{0, {"A", "b", "c"}}, {1, {"b", "A", "c", "d"}}, {2, {"A", "b", "c"}}};

class StepThrough : public NavigationTest,
                    public ::testing::WithParamInterface<std::tuple<std::pair<int, QStringList>, int>>
{
};

TEST_P(StepThrough, followsTheDisplayOrderAndStopsAtBothEnds)
{
    const auto &[tabOrder, trigger] = GetParam();
    const auto &[tab, order] = tabOrder;
    showTab(tab);
    QTreeView *list = std::array{ui().tvwWM, ui().tvwSearch, ui().tvwFavs}[tab];

    go(Next, trigger);
    go(Previous, trigger);
    EXPECT_EQ(shown(), "No SitePin selected") << "nothing selected: nothing to step from";

    go(First, trigger);
    EXPECT_EQ(shown(), order.front());
    EXPECT_EQ(selectedEntryName(list), order.front());
    EXPECT_TRUE(list->hasFocus());
    go(Previous, trigger);
    EXPECT_EQ(shown(), order.front()) << "no wrap at the top";

    for (qsizetype i = 1; i < order.size(); ++i) {
        go(Next, trigger);
        EXPECT_EQ(shown(), order.at(i));
    }
    go(Next, trigger);
    EXPECT_EQ(shown(), order.back()) << "no wrap at the bottom";
    EXPECT_EQ(selectedEntryName(list), order.back());

    go(First, trigger);
    go(Last, trigger);
    EXPECT_EQ(shown(), order.back());
    go(Previous, trigger);
    EXPECT_EQ(shown(), order.at(order.size() - 2));
    EXPECT_EQ(ui().txtModTab->text(), QString::number(tab));
    EXPECT_TRUE(m_dialogs.shown().empty());
}

std::string stepThroughName(const ::testing::TestParamInfo<StepThrough::ParamType> &info)
{
    const char *const triggers[] = {"menu", "keys", "toolbar"};
    return "tab" + std::to_string(std::get<0>(info.param).first) + "_" + triggers[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Cases, StepThrough,
                         ::testing::Combine(::testing::ValuesIn(kOrders), ::testing::Values(Menu, Keys, Toolbar)),
                         stepThroughName);

TEST_F(NavigationTest, anEmptyListLeavesEveryCommandWithNothingToDo)
{
    startWith(L::folder(1, "Letters") + L::folder(2, "Other", L::sitePin(4, "d")));
    clickFolder("Letters");
    for (const int tab : {0, 1, 2}) {
        window().selectLeftTab(tab);
        for (const int step : {First, Previous, Next, Last})
            go(step);
        EXPECT_EQ(shown(), "No SitePin selected") << tab;
        EXPECT_EQ(ui().tabIndex->currentIndex(), tab);
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(NavigationTest, searchStepsShowEachHitsFolderWhileTheTreeStaysPut)
{
    showTab(1);
    QTreeWidgetItem *treeSelection = ui().tvwTopics->currentItem();
    for (const auto &[step, name, folder, tid] :
         {std::tuple{Last, "d", "Other", "T2"}, {Previous, "c", "Letters", "T1"}}) {
        go(step);
        EXPECT_EQ(shownSitePin(), QStringList({name, folder, tid, QString(" -> ") + folder}));
    }
    EXPECT_EQ(ui().tvwTopics->currentItem(), treeSelection);
}

TEST_F(NavigationTest, keepingAnEditLeavesTheNewEntrySelectedAndTheOldSitePinShown)
{
    showTab(0);
    go(First);
    runMenu("mnuEditModify");
    m_dialogs.answerNext(MessageAnswer::No);
    go(Next);
    EXPECT_EQ(m_dialogs.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(selectedEntryName(ui().tvwWM), "b");
    EXPECT_EQ(shown(), "A");
    EXPECT_EQ(ui().txtMode->text(), "mod");

    m_dialogs.answerNext(MessageAnswer::Yes);
    go(Next);
    EXPECT_EQ(shown(), "c");
    EXPECT_EQ(ui().txtMode->text(), "");
}

// The tree's nodes, the root included, and every SitePin at any depth.
TEST_F(NavigationTest, statisticsCountTheTreesNodesAndEverySitePin)
{
    const QString nested = L::folder(
        1, "A", L::sitePin(1, "one"),
        L::folder(2, "B", L::sitePin(2, "two") + L::sitePin(3, "three"), L::folder(3, "C", L::sitePin(4, "four"))));
    for (const auto &[body, text] :
         {std::pair{L::folder(1, "A") + L::folder(2, "B") + L::folder(3, "C"), "Total folders: 4  Total SitePins: 0"},
          {nested, "Total folders: 4  Total SitePins: 4"},
          {QString(), "Total folders: 1  Total SitePins: 0"}}) {
        startWith(body);
        runMenu("mnuViewStats");
        expectOnlyMessage(text, "SitePins Manager", MessageButtons::Ok, MessageIcon::Information);
    }
}

} // namespace
