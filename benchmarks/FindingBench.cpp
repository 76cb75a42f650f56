#include "BenchRun.h"
#include "BenchWindow.h"
#include "LibraryGenerator.h"
#include "finding/Favourites.h"
#include "finding/Search.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "store/XmlNode.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

struct SearchCase
{
    const char *name;
    Search::Field field;
    const char *term;
};

// Everyday terms, and the empty term, which finds every SitePin with text in
// the field: all of them for Full text.
const SearchCase kSearches[] = {
    {"FullText/recipe", Search::Field::FullText, "recipe"}, {"Name/guide", Search::Field::Name, "guide"},
    {"Address/wiki", Search::Field::Address, "wiki"},       {"Notes/password", Search::Field::Notes, "password"},
    {"FullText/everything", Search::Field::FullText, ""},   {"Notes/any", Search::Field::Notes, ""},
};

void runSearch(benchmark::State &state, frmSitePins &window, const SearchCase &search)
{
    frmSitePinsUi &ui = window.ui();
    window.selectLeftTab(1);
    ui.optSearch[int(search.field)]->setChecked(true);
    ui.txtSearch->setText(QString::fromUtf8(search.term));
    for (auto _ : state)
        window.search().cmdSearch_Click();
    state.counters["hits"] = ui.lblFound->text().toDouble();
}

// The first search after an edit brings the copy of the texts up to date.
void runSearchAfter(benchmark::State &state, frmSitePins &window, const SearchCase &search,
                    const std::function<void()> &edit)
{
    frmSitePinsUi &ui = window.ui();
    window.selectLeftTab(1);
    ui.optSearch[int(search.field)]->setChecked(true);
    ui.txtSearch->setText(QString::fromUtf8(search.term));
    for (auto _ : state) {
        edit();
        window.search().cmdSearch_Click();
    }
    state.counters["hits"] = ui.lblFound->text().toDouble();
}

// Editing a SitePin's fields changes its texts only.
std::function<void()> renameTheFirstSitePin(frmSitePins &window)
{
    XmlNode name = window.m_objDOMSitePins.nodeFromID(QStringLiteral("W1")).selectSingleNode(QStringLiteral("NAME"));
    return [name, text = name.text()]() mutable {
        name.setText(text);
    };
}

// Moving a SitePin changes the tree, but no text: the copy only re-places it.
std::function<void()> moveTheFirstSitePinToTheEnd(frmSitePins &window)
{
    XmlNode sitePin = window.m_objDOMSitePins.nodeFromID(QStringLiteral("W1"));
    return [sitePin]() mutable {
        sitePin.parentNode().appendChild(sitePin);
    };
}

void populateFavourites(benchmark::State &state, frmSitePins &window)
{
    window.selectLeftTab(2);
    for (auto _ : state)
        window.favourites().populateFavsList(window.m_objDOMSitePins);
    state.counters["favourites"] = double(window.m_colFavs.size());
}

void populateFavouritesAfter(benchmark::State &state, frmSitePins &window, const std::function<void()> &edit)
{
    window.selectLeftTab(2);
    for (auto _ : state) {
        edit();
        window.favourites().populateFavsList(window.m_objDOMSitePins);
    }
    state.counters["favourites"] = double(window.m_colFavs.size());
}

std::unique_ptr<BenchWindow> large;

// The largest library the identifiers allow.
bool openTheLargestLibrary()
{
    large =
        std::make_unique<BenchWindow>(QStringLiteral("SitePinsFindingBench%1").arg(QCoreApplication::applicationPid()));
    QString error = LibraryGenerator::writeLibrary(large->libraryPath(), LibraryGenerator::kMaxSitePins);
    if (error.isEmpty()) {
        TabIndexSetting::addDefaultFormValues();
        error = large->open();
    }
    if (!error.isEmpty())
        std::fprintf(stderr, "FindingBench: %s\n", qPrintable(error));
    return error.isEmpty();
}

void registerBenchmarks(frmSitePins &window)
{
    for (const SearchCase &search : kSearches) {
        benchmark::RegisterBenchmark((std::string("BM_Search/") + search.name).c_str(), [&window, &search](
                                                                                            benchmark::State &state) {
            runSearch(state, window, search);
        })->Unit(benchmark::kMillisecond);
    }
    for (const SearchCase &search : kSearches) {
        benchmark::RegisterBenchmark((std::string("BM_SearchAfterAnEdit/") + search.name).c_str(),
                                     [&window, search](benchmark::State &state) {
                                         runSearchAfter(state, window, search, renameTheFirstSitePin(window));
                                     })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_SearchAfterAMove/") + search.name).c_str(),
                                     [&window, search](benchmark::State &state) {
                                         runSearchAfter(state, window, search, moveTheFirstSitePinToTheEnd(window));
                                     })
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_PopulateFavsList", [&window](benchmark::State &state) {
        populateFavourites(state, window);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PopulateFavsListAfterAnEdit", [&window](benchmark::State &state) {
        populateFavouritesAfter(state, window, renameTheFirstSitePin(window));
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PopulateFavsListAfterAMove", [&window](benchmark::State &state) {
        populateFavouritesAfter(state, window, moveTheFirstSitePinToTheEnd(window));
    })->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char **argv)
{
    return BenchRun::runWithWidgets(
        argc, argv,
        [] {
            if (!openTheLargestLibrary())
                return false;
            registerBenchmarks(large->window());
            return true;
        },
        [] { large.reset(); });
}
