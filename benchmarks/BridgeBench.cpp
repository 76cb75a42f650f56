// Detecting browser tabs over the bridge: BridgeBrowser asking the real
// SitePinsBridge host, with tests/tools/fake_browser in the browser's place
// answering from one window of 200 tabs. What it measures is our part of a
// detection (sockets, the host's relay, JSON both ways), not a browser's.
#include "platform/browser/BridgeBrowser.h"
#include "platform/browser/BridgeFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kTabs = 200;

std::unique_ptr<QTemporaryDir> workDir;
std::unique_ptr<QProcess> browser;

// Addresses and titles as long as everyday ones.
QJsonArray oneWindowOf(int tabs)
{
    QJsonArray list;
    for (int i = 0; i < tabs; ++i)
        list.append(
            QJsonObject{{QStringLiteral("id"), 1000 + i},
                        {QStringLiteral("url"),
                         QStringLiteral("https://www.example.test/articles/2026/%1/some-article-title.html").arg(i)},
                        {QStringLiteral("title"), QStringLiteral("Article %1: a page title of everyday length").arg(i)},
                        {QStringLiteral("active"), i == tabs / 2}});
    return {QJsonObject{{QStringLiteral("id"), 1}, {QStringLiteral("tabs"), list}}};
}

bool startBrowser()
{
    workDir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/sitepins-bridge-bench-XXXXXX"));
    const QString model = workDir->filePath(QStringLiteral("model.json"));
    QFile file(model);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(QJsonObject{{QStringLiteral("windows"), oneWindowOf(kTabs)}}).toJson()) < 0)
        return false;
    file.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SITEPINS_BRIDGE_DIR"), workDir->path());
    browser = std::make_unique<QProcess>();
    browser->setProcessEnvironment(environment);
    browser->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    browser->start(QStringLiteral(SITEPINS_FAKE_BROWSER), {QStringLiteral(SITEPINS_BRIDGE_HOST), model});
    if (!browser->waitForReadyRead(30000))
        return false;
    const qint64 hostPid = browser->readLine().trimmed().toLongLong();
    const QString socket = QDir(workDir->path()).filePath(BridgeFolder::hostSocketName(hostPid));
    for (int waited = 0; waited < 30000 && !QFileInfo::exists(socket); waited += 10)
        QThread::msleep(10);
    return QFileInfo::exists(socket);
}

void BM_ShellWindows_200Tabs(benchmark::State &state)
{
    BridgeBrowser bridge(workDir->path());
    for (auto _ : state) {
        const std::vector<ShellWindow> windows = bridge.shellWindows(QDeadlineTimer(5000));
        if (windows.size() != size_t(kTabs)) {
            state.SkipWithError("the host did not list every tab");
            break;
        }
    }
}
BENCHMARK(BM_ShellWindows_200Tabs)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!startBrowser()) {
        std::fputs("the bridge host did not start\n", stderr);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    browser->kill();
    browser->waitForFinished();
    return 0;
}
