#include "BenchRun.h"
#include "LibraryGenerator.h"

#include "care/logic/AddressKey.h"
#include "care/logic/DuplicateFinder.h"
#include "care/logic/LibraryLinks.h"
#include "store/SitePinTextIndex.h"
#include "store/XMLDatabase.h"
#include "store/XmlNode.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

constexpr int kSizes[] = {1000, 10000, 32767};

std::unique_ptr<QTemporaryDir> workDir;
std::map<int, std::unique_ptr<XMLDatabase>> libraries;

XmlDocument library(int count)
{
    return libraries.at(count)->getTheDOM();
}

// Tools > Find duplicates on the open library, whose copy of the SitePins'
// texts the window keeps up to date (the favourites list reads it at start).
void BM_FindDuplicates(benchmark::State &state)
{
    const XmlDocument dom = library(int(state.range(0)));
    SitePinTextIndex texts;
    size_t groups = DuplicateFinder::find(dom, texts).size();
    for (auto _ : state)
        groups = DuplicateFinder::find(dom, texts).size();
    state.counters["groups"] = double(groups);
}

// The same when the copy of the texts must first be made.
void BM_FindDuplicatesCopyingTheTexts(benchmark::State &state)
{
    const XmlDocument dom = library(int(state.range(0)));
    for (auto _ : state) {
        SitePinTextIndex texts;
        benchmark::DoNotOptimize(DuplicateFinder::find(dom, texts));
    }
}

// The addresses alone, without the walk through the document.
void BM_AddressKeys(benchmark::State &state)
{
    std::vector<QString> addresses;
    for (const LinkChecker::Link &link : LibraryLinks::webLinksUnder(library(int(state.range(0))).documentElement()))
        addresses.push_back(link.address);
    for (auto _ : state) {
        for (const QString &address : addresses)
            benchmark::DoNotOptimize(AddressKey::of(address));
    }
    state.SetItemsProcessed(state.iterations() * qint64(addresses.size()));
}

// What Tools > Check links gathers before its first request.
void BM_WebLinksOfTheLibrary(benchmark::State &state)
{
    const XmlNode root = library(int(state.range(0))).documentElement();
    for (auto _ : state)
        benchmark::DoNotOptimize(LibraryLinks::webLinksUnder(root));
}

void sizes(benchmark::internal::Benchmark *bench)
{
    for (const int count : kSizes)
        bench->Arg(count);
}

BENCHMARK(BM_FindDuplicates)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindDuplicatesCopyingTheTexts)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddressKeys)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WebLinksOfTheLibrary)->Apply(sizes)->Unit(benchmark::kMillisecond);

bool prepareLibraries()
{
    workDir = std::make_unique<QTemporaryDir>();
    if (!workDir->isValid())
        return false;
    for (const int count : kSizes) {
        const QString path = workDir->filePath(QStringLiteral("library-%1.xml").arg(count));
        const QString error = LibraryGenerator::writeLibrary(path, count);
        auto database = std::make_unique<XMLDatabase>();
        if (!error.isEmpty() || !database->openDBValidate(path)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error + database->lastOpenError()));
            return false;
        }
        libraries.emplace(count, std::move(database));
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    return BenchRun::run(argc, argv, prepareLibraries);
}
