#include "FindingFixture.h"

#include <tuple>

namespace {

// Letters in document order b, A, c; Other holds d.
QString library()
{
    using L = LibraryText;
    return L::folder(1, "Letters",
                     L::sitePin(1, "b", "", "", "TRUE") + L::sitePin(2, "A", "", "", "TRUE") +
                         L::sitePin(3, "c", "", "", "TRUE")) +
           L::folder(2, "Other", L::sitePin(4, "d"));
}

enum class Trigger
{
    Menu,
    Keys,
    Toolbar
};

enum class Step
{
    First,
    Previous,
    Next,
    Last
};

class NavigationTest : public FindingFixture
{
protected:
    // A current folder enables the Go commands, whatever the tab.
    void showTab(int tab)
    {
        clickFolder("Letters");
        if (tab == 1)
            search(NameOnly, "");
        window().selectLeftTab(tab);
    }

    QTreeWidget *listOf(int tab)
    {
        QTreeWidget *lists[] = {ui().tvwWM, ui().tvwSearch, ui().tvwFavs};
        return lists[tab];
    }

    void go(Step step, Trigger trigger = Trigger::Menu)
    {
        const int index = int(step);
        switch (trigger) {
        case Trigger::Menu: {
            const char *names[] = {"mnuNavFirst", "mnuNavPrevious", "mnuNavNext", "mnuNavLast"};
            runMenu(names[index]);
            break;
        }
        case Trigger::Keys: {
            const Qt::Key keys[] = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : &window(), keys[index]);
            break;
        }
        case Trigger::Toolbar:
            clickToolbarButton(5 + index);
            break;
        }
    }

    QString shown() { return ui().lblWName->caption(); }
};

class LetterLibrary : public NavigationTest
{
protected:
    void SetUp() override
    {
        NavigationTest::SetUp();
        startWith(library());
    }
};

struct TabOrder
{
    int tab;
    QStringList order;
};

const TabOrder kOrders[] = {
    {0, {"A", "b", "c"}},      // the folder's list, by name
    {1, {"b", "A", "c", "d"}}, // the results, in document order
    {2, {"A", "b", "c"}},      // the favourites, by name
};

class StepThrough : public LetterLibrary, public ::testing::WithParamInterface<std::tuple<TabOrder, Trigger>>
{
};

TEST_P(StepThrough, followsTheDisplayOrderAndStopsAtBothEnds)
{
    const auto &[tabOrder, trigger] = GetParam();
    const QStringList &order = tabOrder.order;
    showTab(tabOrder.tab);
    QTreeWidget *list = listOf(tabOrder.tab);

    go(Step::Next, trigger);
    go(Step::Previous, trigger);
    EXPECT_EQ(shown(), "No SitePin selected") << "nothing selected: nothing to step from";

    go(Step::First, trigger);
    EXPECT_EQ(shown(), order.front());
    EXPECT_EQ(selectedEntryName(list), order.front());
    EXPECT_TRUE(list->hasFocus());
    go(Step::Previous, trigger);
    EXPECT_EQ(shown(), order.front()) << "no wrap at the top";

    for (qsizetype i = 1; i < order.size(); ++i) {
        go(Step::Next, trigger);
        EXPECT_EQ(shown(), order.at(i));
    }
    go(Step::Next, trigger);
    EXPECT_EQ(shown(), order.back()) << "no wrap at the bottom";
    EXPECT_EQ(selectedEntryName(list), order.back());

    go(Step::First, trigger);
    go(Step::Last, trigger);
    EXPECT_EQ(shown(), order.back());
    go(Step::Previous, trigger);
    EXPECT_EQ(shown(), order.at(order.size() - 2));
    EXPECT_EQ(ui().txtModTab->text(), QString::number(tabOrder.tab));
    EXPECT_TRUE(m_dialogs.shown().empty());
}

std::string stepThroughName(const ::testing::TestParamInfo<std::tuple<TabOrder, Trigger>> &info)
{
    static const char *const triggers[] = {"menu", "keys", "toolbar"};
    return "tab" + std::to_string(std::get<0>(info.param).tab) + "_" + triggers[int(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Cases, StepThrough,
                         ::testing::Combine(::testing::ValuesIn(kOrders),
                                            ::testing::Values(Trigger::Menu, Trigger::Keys, Trigger::Toolbar)),
                         stepThroughName);

TEST_F(NavigationTest, anEmptyListLeavesEveryCommandWithNothingToDo)
{
    startWith(LibraryText::folder(1, "Letters") + LibraryText::folder(2, "Other", LibraryText::sitePin(4, "d")));
    clickFolder("Letters");
    for (const int tab : {0, 1, 2}) {
        window().selectLeftTab(tab);
        for (Step step : {Step::First, Step::Previous, Step::Next, Step::Last})
            go(step);
        EXPECT_EQ(shown(), "No SitePin selected") << tab;
        EXPECT_EQ(ui().tabIndex->currentIndex(), tab);
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(LetterLibrary, searchStepsShowEachHitsFolderWhileTheTreeStaysPut)
{
    showTab(1);
    QTreeWidgetItem *treeSelection = ui().tvwTopics->currentItem();
    go(Step::Last);
    EXPECT_EQ(shown(), "d");
    EXPECT_EQ(ui().lblTName->caption(), "Other");
    EXPECT_EQ(ui().txtTID->text(), "T2");
    EXPECT_EQ(statusPath(), " -> Other");
    go(Step::Previous);
    EXPECT_EQ(ui().lblTName->caption(), "Letters");
    EXPECT_EQ(ui().txtTID->text(), "T1");
    EXPECT_EQ(statusPath(), " -> Letters");
    EXPECT_EQ(ui().tvwTopics->currentItem(), treeSelection);
}

TEST_F(LetterLibrary, keepingAnEditLeavesTheNewEntrySelectedAndTheOldSitePinShown)
{
    showTab(0);
    go(Step::First);
    runMenu("mnuEditModify");
    m_dialogs.answerNext(MessageAnswer::No);
    go(Step::Next);
    EXPECT_EQ(m_dialogs.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(selectedEntryName(ui().tvwWM), "b");
    EXPECT_EQ(shown(), "A");
    EXPECT_EQ(ui().txtMode->text(), "mod");

    m_dialogs.answerNext(MessageAnswer::Yes);
    go(Step::Next);
    EXPECT_EQ(shown(), "c");
    EXPECT_EQ(ui().txtMode->text(), "");
}

// The tree's nodes, the root included, and every SitePin at any depth.
TEST_F(NavigationTest, statisticsCountTheTreesNodesAndEverySitePin)
{
    using L = LibraryText;
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
