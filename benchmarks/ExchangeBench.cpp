// Bookmarks in and out: a Netscape bookmark file of 30,000 bookmarks
// imported into a library, as the command line and as File > Import do it
// (read, added, saved once); and the largest library, 32,767 SitePins,
// exported to both formats.
#include "BenchRun.h"
#include "BenchWindow.h"
#include "LibraryGenerator.h"
#include "browser/BookmarkImport.h"
#include "commandline/LibraryCommands.h"
#include "exchange/LibraryExport.h"
#include "mainwindow/frmSitePins.h"
#include "store/XMLDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kBookmarks = 30000;

// As a browser writes it: 300 folders of 100 bookmarks, in 30 groups, each
// bookmark with a date, an icon and, now and then, a description.
QByteArray netscapeFile()
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                      "charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
    for (int group = 0; group < 30; ++group) {
        html += "    <DT><H3 ADD_DATE=\"1700000000\">Group " + QByteArray::number(group) + "</H3>\n    <DL><p>\n";
        for (int folder = 0; folder < 10; ++folder) {
            html += "        <DT><H3>Topic " + QByteArray::number(folder) + "</H3>\n        <DL><p>\n";
            for (int i = 0; i < kBookmarks / 300; ++i) {
                const QByteArray n = QByteArray::number(((group * 10) + folder) * 100 + i);
                html += "            <DT><A HREF=\"https://www.example.org/topic/" + n + "?page=" + n +
                        "&amp;lang=en\" ADD_DATE=\"1700000000\" ICON=\"data:image/png;base64,iVBORw0KGgo=\">Page " + n +
                        " &amp; more</A>\n";
                if (i % 10 == 0)
                    html += "            <DD>A few words about page " + n + "\n";
            }
            html += "        </DL><p>\n";
        }
        html += "    </DL><p>\n";
    }
    return html + "</DL><p>\n";
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return file.errorString();
    return {};
}

void BM_ImportNetscape_30000_CommandLine(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString html = dir.filePath(QStringLiteral("bookmarks.html"));
    writeFile(html, netscapeFile());
    const QString path = dir.filePath(QStringLiteral("SitePins.xml"));
    for (auto _ : state) {
        state.PauseTiming();
        writeFile(path, BenchWindow::kEmptyLibrary);
        state.ResumeTiming();

        XMLDatabase database;
        database.openDBValidate(path);
        XmlDocument dom = database.getTheDOM();
        const CommandResult result = LibraryCommands::import({database, dom, QDate(2026, 12, 6),
                                                              [&dom, &path] {
                                                                  return dom.save(path);
                                                              }},
                                                             html, std::nullopt, {});

        state.PauseTiming();
        if (!result.output.startsWith(QStringLiteral("Imported 330 folders and 30000 SitePins")))
            state.SkipWithError((result.output + result.error).toUtf8().constData());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportNetscape_30000_CommandLine)->Unit(benchmark::kMillisecond)->Iterations(3);

// Through the real main window (offscreen), its progress window shown and
// the new folder added to the tree at the end.
void BM_ImportNetscape_30000_Window(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString html = dir.filePath(QStringLiteral("bookmarks.html"));
    writeFile(html, netscapeFile());
    for (auto _ : state) {
        state.PauseTiming();
        BenchWindow bench(QStringLiteral("SitePinsExchangeBench"));
        bench.writeLibrary(BenchWindow::kEmptyLibrary);
        bench.dialogs().fileToOpen = html;
        bench.open();
        frmSitePins &window = bench.window();
        state.ResumeTiming();

        window.bookmarkImport().mnuFileImportNetscape_Click();

        state.PauseTiming();
        const QString &shown = bench.dialogs().lastText;
        if (!shown.startsWith(QStringLiteral("Imported 330 folders and 30000 SitePins")))
            state.SkipWithError(shown.toUtf8().constData());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportNetscape_30000_Window)->Unit(benchmark::kMillisecond)->Iterations(3);

void exportLargestLibrary(benchmark::State &state, const char *name)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SitePins.xml"));
    if (const QString error = LibraryGenerator::writeLibrary(path, LibraryGenerator::kMaxSitePins); !error.isEmpty()) {
        state.SkipWithError(error.toUtf8().constData());
        return;
    }
    XMLDatabase database;
    database.openDBValidate(path);
    const QString target = dir.filePath(QLatin1String(name));
    for (auto _ : state) {
        const LibraryExport::Outcome outcome =
            LibraryExport::toFile(target, database.getTheDOM().documentElement(), *BookmarkFormats::forExport(target));
        if (!outcome.saved || outcome.sitePins != LibraryGenerator::kMaxSitePins)
            state.SkipWithError("the export failed");
    }
    state.counters["bytes"] = double(QFileInfo(target).size());
}

void BM_ExportLibrary_32767_Netscape(benchmark::State &state)
{
    exportLargestLibrary(state, "bookmarks.html");
}
BENCHMARK(BM_ExportLibrary_32767_Netscape)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportLibrary_32767_Xbel(benchmark::State &state)
{
    exportLargestLibrary(state, "bookmarks.xbel");
}
BENCHMARK(BM_ExportLibrary_32767_Xbel)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    return BenchRun::runWithWidgets(argc, argv);
}
