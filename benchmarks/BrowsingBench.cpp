// Filling the folder tree and a folder's SitePin list, and showing a SitePin,
// on the real main window (offscreen).
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/frmSitePins.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/UserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

class SilentDialogs : public UserDialogs
{
public:
    MessageAnswer showMessage(QWidget *, const MessageRequest &) override { return MessageAnswer::Yes; }
    QString getOpenFileName(QWidget *, const OpenFileRequest &) override { return {}; }
};

class NoDesktop : public DesktopServices
{
public:
    bool openUrl(const QUrl &) override { return true; }
    bool openDefaultBrowser() override { return true; }
};

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

struct Fixture
{
    Fixture()
    {
        QDir(folder.path()).mkpath(QStringLiteral("MySitePins"));
        QFile file(QDir(folder.path()).filePath(QStringLiteral("MySitePins/SitePins.xml")));
        file.open(QIODevice::WriteOnly);
        file.write(libraryText().toUtf8());
        file.close();
        environment.programFolder = folder.path();
        environment.dialogs = &dialogs;
        environment.desktop = &desktop;
        environment.instanceName = QStringLiteral("SitePinsBench");
        environment.splashFirstTickMs = 0;
        environment.splashPollMs = 0;
        window = std::make_unique<frmSitePins>(environment);
        window->prepare();
        window->show();
        QApplication::processEvents();
    }

    QTemporaryDir folder;
    SilentDialogs dialogs;
    NoDesktop desktop;
    ProgramEnvironment environment;
    std::unique_ptr<frmSitePins> window;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void BM_PopulateTopicList_2000Folders(benchmark::State &state)
{
    frmSitePins &window = *fixture().window;
    for (auto _ : state) {
        window.folderTree().populateTopicList(window.m_objDOMSitePins);
        QApplication::processEvents(); // the tree lays itself out and paints
    }
}
BENCHMARK(BM_PopulateTopicList_2000Folders)->Unit(benchmark::kMillisecond);

void BM_PopulateSitePinList_5000(benchmark::State &state)
{
    frmSitePins &window = *fixture().window;
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
    frmSitePins &window = *fixture().window;
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", runtime.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fixture().window.reset();
    benchmark::Shutdown();
    return 0;
}
