#include "LibraryGenerator.h"

#include "finding/Favourites.h"
#include "finding/Search.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/UserDialogs.h"
#include "store/XmlNode.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Answers every message at once: a search without hits must not wait.
class SilentDialogs : public UserDialogs
{
public:
    MessageAnswer showMessage(QWidget *, const MessageRequest &request) override
    {
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    QString getOpenFileName(QWidget *, const OpenFileRequest &) override { return {}; }
};

class NoDesktop : public DesktopServices
{
public:
    bool openUrl(const QUrl &) override { return false; }
    bool openDefaultBrowser() override { return false; }
};

// The real main window on the largest library the identifiers allow, in a
// program folder of its own.
class LargeLibraryWindow
{
public:
    bool start(QString &error)
    {
        if (!m_folder.isValid())
            return fail(error, QStringLiteral("no temporary folder"));
        const QString library = QDir(m_folder.path()).filePath(QStringLiteral("MySitePins/SitePins.xml"));
        QDir().mkpath(QFileInfo(library).absolutePath());
        error = LibraryGenerator::writeLibrary(library, LibraryGenerator::kMaxSitePins);
        if (!error.isEmpty())
            return false;
        TabIndexSetting::addDefaultFormValues();
        m_environment.programFolder = m_folder.path();
        m_environment.dialogs = &m_dialogs;
        m_environment.desktop = &m_desktop;
        m_environment.instanceName = QStringLiteral("SitePinsFindingBench%1").arg(QCoreApplication::applicationPid());
        m_environment.splashFirstTickMs = 0;
        m_environment.splashPollMs = 0;
        m_window = std::make_unique<frmSitePins>(m_environment);
        if (m_window->prepare() != frmSitePins::StartOutcome::Running || m_window->isDegraded())
            return fail(error, QStringLiteral("the library did not open"));
        while (!m_window->isVisible())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return true;
    }

    frmSitePins &window() { return *m_window; }

private:
    static bool fail(QString &error, const QString &why)
    {
        error = why;
        return false;
    }

    QTemporaryDir m_folder;
    SilentDialogs m_dialogs;
    NoDesktop m_desktop;
    ProgramEnvironment m_environment;
    std::unique_ptr<frmSitePins> m_window;
};

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

// The first search after an edit reads the library's texts afresh.
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

// Moving a SitePin changes the tree: everything is read again.
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

// Settings and the instance channel in a folder of their own, set before
// the application object reads them.
bool isolateUserFolders(const QTemporaryDir &folder)
{
    if (!folder.isValid())
        return false;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", folder.path().toUtf8());
    return QFile::setPermissions(folder.path(),
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace

int main(int argc, char **argv)
{
    const QTemporaryDir userFolders;
    if (!isolateUserFolders(userFolders)) {
        std::fprintf(stderr, "FindingBench: no temporary folder\n");
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    LargeLibraryWindow large;
    QString error;
    if (!large.start(error)) {
        std::fprintf(stderr, "FindingBench: %s\n", qPrintable(error));
        return 1;
    }
    frmSitePins &window = large.window();
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
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
