// Filling the folder tree and a folder's SitePin list, and showing a SitePin,
// on the real main window (offscreen).
#include "BenchRun.h"
#include "BenchWindow.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/frmSitePins.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

QString sitePin(int wid)
{
    return QStringLiteral("<SITEPIN WID=\"W%1\"><NAME>SitePin number %1 about something</NAME>"
                          "<ADDRESS>https://www.example.org/section/%1/page.html?ref=list</ADDRESS>"
                          "<CREATED_DATE>04 Dec 2026</CREATED_DATE><DESCRIPTION>A page worth keeping, number %1."
                          "</DESCRIPTION><NOTES/><KEYWORD1/><KEYWORD2/><FAV>FALSE</FAV></SITEPIN>")
        .arg(wid);
}

QString folder(int tid, const QString &name, const QString &pins, const QString &subFolders)
{
    return QStringLiteral("<FOLDER TID=\"T%1\"><NAME>%2</NAME><SITEPINS>%3</SITEPINS><SUBFOLDERS>%4</SUBFOLDERS>"
                          "</FOLDER>")
        .arg(tid)
        .arg(name, pins, subFolders);
}

// 2,000 folders: 200 at the top with 9 sub-folders each; the first holds
// 5,000 SitePins.
QString libraryText()
{
    QString body;
    int tid = 0;
    for (int top = 0; top < 200; ++top) {
        const int topId = ++tid;
        QString subs;
        for (int sub = 0; sub < 9; ++sub) {
            ++tid;
            subs += folder(tid, QStringLiteral("Topic %1.%2").arg(top).arg(sub), {}, {});
        }
        QString pins;
        if (top == 0) {
            for (int wid = 1; wid <= 5000; ++wid)
                pins += sitePin(wid);
        }
        body += folder(topId, QStringLiteral("Subject %1").arg(top), pins, subs);
    }
    return QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS [\n<!ATTLIST FOLDER TID ID #REQUIRED>\n"
                          "<!ATTLIST SITEPIN WID ID #REQUIRED>\n]>\n<FOLDERS>") +
           body + QStringLiteral("</FOLDERS>\n");
}

std::unique_ptr<BenchWindow> bench;

bool openTheWindow()
{
    bench = std::make_unique<BenchWindow>(QStringLiteral("SitePinsBench"));
    bench->writeLibrary(libraryText().toUtf8());
    const QString error = bench->open();
    if (!error.isEmpty())
        std::fprintf(stderr, "BrowsingBench: %s\n", qPrintable(error));
    return error.isEmpty();
}

void BM_PopulateTopicList_2000Folders(benchmark::State &state)
{
    frmSitePins &window = bench->window();
    for (auto _ : state) {
        window.folderTree().populateTopicList(window.m_objDOMSitePins);
        QApplication::processEvents(); // the tree lays itself out and paints
    }
}
BENCHMARK(BM_PopulateTopicList_2000Folders)->Unit(benchmark::kMillisecond);

void BM_PopulateSitePinList_5000(benchmark::State &state)
{
    frmSitePins &window = bench->window();
    window.folderTree().populateTopicList(window.m_objDOMSitePins);
    QTreeWidgetItem *big = window.folderTree().findNodeByTag(QStringLiteral("T1"));
    for (auto _ : state) {
        window.folderTree().populateSitePinList(big);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_PopulateSitePinList_5000)->Unit(benchmark::kMillisecond);

void BM_DisplaySitePin(benchmark::State &state)
{
    frmSitePins &window = bench->window();
    const XmlNode pin = window.m_objDOMSitePins.nodeFromID(QStringLiteral("W2500"));
    for (auto _ : state) {
        window.detailPanel().displaySitePinElement(pin);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_DisplaySitePin)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return BenchRun::runWithWidgets(argc, argv, openTheWindow, [] { bench.reset(); });
}
