#include "platform/RegistryFile.h"
#include "platform/RegistryFunctions.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Short section names keep even the largest file below the size a settings
// file may have, so that what is measured is the reading, not the refusal.
QByteArray settingsText(int sections)
{
    QByteArray text = "[Software\\KelvaneSoft\\SitePins]\nTabIndex=sz:1\n";
    for (int i = 0; i < sections; ++i)
        text += "[K" + QByteArray::number(i) + "]\nV=sz:" + QByteArray::number(i) + '\n';
    return text;
}

std::unique_ptr<QTemporaryDir> configHome;

void writeSettings(int sections)
{
    const QString path = RegistryFunctions::registryFilePath(RegistryRoot::HKEY_CURRENT_USER);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(settingsText(sections));
}

void BM_ParseSettings(benchmark::State &state)
{
    const QByteArray text = settingsText(int(state.range(0)));
    for (auto _ : state) {
        RegistryFile file;
        benchmark::DoNotOptimize(file.parse(text));
    }
    state.counters["bytes"] = double(text.size());
}
BENCHMARK(BM_ParseSettings)->Arg(1000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

// What a start does with the file: read the one setting it keeps.
void BM_ReadTabIndexSetting(benchmark::State &state)
{
    writeSettings(int(state.range(0)));
    for (auto _ : state) {
        const QVariant value = RegistryFunctions::getRegistryValue(RegistryRoot::HKEY_CURRENT_USER,
                                                                   QStringLiteral("Software\\KelvaneSoft\\SitePins"),
                                                                   QStringLiteral("TabIndex"));
        if (value.toString() != QStringLiteral("1"))
            state.SkipWithError("the setting was not read");
    }
}
BENCHMARK(BM_ReadTabIndexSetting)->Arg(1000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    configHome = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", configHome->path().toUtf8());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    configHome.reset();
    return 0;
}
