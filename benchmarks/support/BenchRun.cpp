#include "BenchRun.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// Set before the application object reads them.
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

int BenchRun::run(int &argc, char **argv, const Step &prepare)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (prepare && !prepare())
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

int BenchRun::runWithWidgets(int argc, char **argv, const Step &prepare, const std::function<void()> &finish)
{
    const QTemporaryDir userFolders;
    if (!isolateUserFolders(userFolders)) {
        std::fprintf(stderr, "%s: no temporary folder\n", argv[0]);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int status = run(argc, argv, prepare);
    if (finish)
        finish();
    return status;
}
