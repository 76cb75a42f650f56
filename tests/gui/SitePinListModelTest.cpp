#include "mainwindow/SitePinListModel.h"
#include "FindingFixture.h"
#include "mainwindow/NameOrder.h"

#include <QAbstractItemModelTester>
#include <QScopeGuard>
#include <QTreeView>

#include <memory>

namespace {

using LT = LibraryText;

// The model checker's complaints, collected instead of printed.
QStringList g_complaints;
QtMessageHandler g_previousHandler = nullptr;

void collectComplaint(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (context.category && QByteArray(context.category) == "qt.modeltest")
        g_complaints << message;
    else
        g_previousHandler(type, context, message);
}

class SitePinListModelTest : public FindingFixture
{
protected:
    void SetUp() override
    {
        FindingFixture::SetUp();
        g_complaints.clear();
        g_previousHandler = qInstallMessageHandler(collectComplaint);
    }
    void TearDown() override
    {
        m_testers.clear();
        qInstallMessageHandler(g_previousHandler);
        EXPECT_TRUE(g_complaints.isEmpty()) << g_complaints.join("\n").toStdString();
        FindingFixture::TearDown();
    }
    void checkEveryList()
    {
        for (SitePinListModel *model : {ui().wmModel, ui().searchModel, ui().favsModel}) {
            m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
                model, QAbstractItemModelTester::FailureReportingMode::Warning));
        }
    }
    QStringList tags(QTreeView *list)
    {
        QStringList result;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            result << list->model()->index(row, 0).data(SitePinListModel::TagRole).toString();
        return result;
    }

    std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
};

} // namespace

// Names sort by the user's collation: accents and case do not put a name
// after "z"; names that differ only in case put capitals first.
TEST_F(SitePinListModelTest, sortedListsFollowTheCollationAndPlainListsTheirFill)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const auto restore = qScopeGuard([before] { QLocale::setDefault(before); });
    const QString names[] = {"zebra", "\u00C4pfel", "apple", "Apple", "10 tips", "Zoo"};
    QString pins;
    for (int wid = 1; wid <= int(std::size(names)); ++wid)
        pins += LT::sitePin(wid, names[wid - 1], {}, {}, "TRUE");
    startWith(LT::folder(1, "Mixed", pins));
    checkEveryList();
    clickFolder("Mixed");
    const QStringList sorted{"10 tips", "\u00C4pfel", "Apple", "apple", "zebra", "Zoo"};
    EXPECT_EQ(entryNames(ui().tvwWM), sorted);
    EXPECT_EQ(tags(ui().tvwWM), QStringList({"W5", "W2", "W4", "W3", "W1", "W6"}));
    window().selectLeftTab(2);
    EXPECT_EQ(entryNames(ui().tvwFavs), sorted);
    EXPECT_EQ(ui().favsModel->widsInAddedOrder(), QStringList({"W1", "W2", "W3", "W4", "W5", "W6"}));
    search(FullText, "");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList(std::begin(names), std::end(names)));
    const QModelIndex first = ui().searchModel->index(0);
    EXPECT_FALSE(first.data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(first.data(Qt::DecorationRole).value<QIcon>().cacheKey(),
              ui().favsModel->index(0).data(Qt::DecorationRole).value<QIcon>().cacheKey())
        << "one picture for every entry";
}

// The keys kept for sorting are let go when there are more than a library's
// worth of names; the order does not change with them.
TEST(NameOrderTest, sortsAlikeWithKeptKeysAndAfterLettingThemGo)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const auto restore = qScopeGuard([before] { QLocale::setDefault(before); });
    NameOrder order;
    const auto sorted = [&order](const std::vector<QString> &names) {
        std::vector<const QString *> pointers;
        for (const QString &name : names)
            pointers.push_back(&name);
        QStringList result;
        for (const size_t position : order.order(pointers))
            result << names[position];
        return result;
    };
    const std::vector<QString> names{"zebra", "\u00C4pfel", "apple", "Apple", "10 tips", "Zoo", "apple"};
    const QStringList expected{"10 tips", "\u00C4pfel", "Apple", "apple", "apple", "zebra", "Zoo"};
    EXPECT_EQ(sorted(names), expected);
    EXPECT_EQ(sorted(names), expected) << "from the kept keys";
    std::vector<QString> many;
    for (int i = 0; i < 70000; ++i)
        many.push_back(QString("Pin %1").arg(i));
    const QStringList manySorted = sorted(many);
    EXPECT_TRUE(std::is_sorted(manySorted.begin(), manySorted.end(),
                               [&order](const QString &a, const QString &b) { return order.compare(a, b) < 0; }));
    EXPECT_EQ(sorted(names), expected) << "after letting the keys go";
}

// Every command that changes a list, under the model checker: fills, a
// removal, a favourite added and removed, a rename that moves an entry.
TEST_F(SitePinListModelTest, everyChangeToTheListsKeepsTheModelsSound)
{
    startWith(LT::folder(1, "Work",
                         LT::sitePin(1, "Wiki", {}, {}, "TRUE") + LT::sitePin(2, "Mail") + LT::sitePin(3, "Bank")) +
              LT::folder(2, "Home", LT::sitePin(4, "Recipes", {}, {}, "TRUE")));
    checkEveryList();
    showSitePin("Work", "Mail");
    runMenu("mnuFavsAdd");
    window().selectLeftTab(2);
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"Mail", "Recipes", "Wiki"}));
    clickEntry(ui().tvwFavs, "Recipes");
    m_dialogs.answerNext(MessageAnswer::Yes);
    runMenu("mnuFavsDelete");
    EXPECT_EQ(entryNames(ui().tvwFavs), QStringList({"Mail", "Wiki"}));
    EXPECT_EQ(ui().favsModel->widsInAddedOrder(), QStringList({"W1", "W2"}));

    window().selectLeftTab(0);
    showSitePin("Work", "Bank");
    runMenu("mnuEditModify");
    ui().txtWName->setText("Zoo tickets");
    clickToolbarButton(20);
    EXPECT_EQ(entryNames(ui().tvwWM), QStringList({"Mail", "Wiki", "Zoo tickets"}));
    EXPECT_EQ(currentEntryName(ui().tvwWM), "Zoo tickets") << "the renamed entry stays selected";

    search(FullText, "i");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"Wiki", "Mail", "Zoo tickets", "Recipes"}));
    clickEntry(ui().tvwSearch, "Mail");
    m_dialogs.answerNext(MessageAnswer::Yes);
    runMenu("mnuEditDelete");
    EXPECT_EQ(entryNames(ui().tvwSearch), QStringList({"Wiki", "Zoo tickets", "Recipes"}));
}
