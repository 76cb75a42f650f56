// Importing a Windows drive's favourites: 10,000 Internet Shortcuts in 500
// folders, into the real main window (offscreen), saved once.
#include "BenchRun.h"
#include "BenchWindow.h"
#include "browser/FavoritesImport.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmSitePins.h"
#include "platform/RegistryFunctions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kFolders = 500;
constexpr int kShortcutsPerFolder = 20;

// One profile's Favorites: 25 folders at the top, each with 19 sub-folders.
void makeDrive(const QString &root)
{
    const QDir favorites(root + QStringLiteral("/Documents and Settings/User/Favorites"));
    for (int n = 0; n < kFolders; ++n) {
        const QString relative = n % 20 == 0 ? QStringLiteral("Topic %1").arg(n / 20)
                                             : QStringLiteral("Topic %1/Sub %2").arg(n / 20).arg(n % 20);
        favorites.mkpath(relative);
        for (int i = 0; i < kShortcutsPerFolder; ++i) {
            QFile file(favorites.filePath(relative + QStringLiteral("/Page %1.url").arg(i)));
            file.open(QIODevice::WriteOnly);
            file.write(QStringLiteral("[DEFAULT]\r\nBASEURL=https://www.example.org/\r\n[InternetShortcut]\r\n"
                                      "URL=https://www.example.org/topic/%1/page%20%2.html\r\nIconIndex=0\r\n")
                           .arg(n)
                           .arg(i)
                           .toUtf8());
        }
    }
}

void BM_ImportFavorites_10000In500Folders(benchmark::State &state)
{
    QTemporaryDir drive;
    makeDrive(drive.path());
    RegistryKey key;
    RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_CURRENT_USER,
                                         QString::fromLatin1(TabIndexSetting::kKeyPath), key);
    RegistryFunctions::setRegistryValue(key, QString::fromLatin1(FavoritesImport::kDriveSetting), REG_SZ, drive.path());
    RegistryFunctions::closeRegistryKey(key);

    for (auto _ : state) {
        state.PauseTiming();
        BenchWindow bench(QStringLiteral("SitePinsImportBench"));
        bench.writeLibrary(BenchWindow::kEmptyLibrary);
        bench.open();
        frmSitePins &window = bench.window();
        state.ResumeTiming();

        window.favoritesImport().mnuFileImportIE_Click();

        state.PauseTiming();
        const QString &shown = bench.dialogs().lastText;
        if (shown != QLatin1String("Favorites successfully imported: 1 favorites folders, 501 new folders, 10000 "
                                   "new SitePins."))
            state.SkipWithError(shown.toUtf8().constData());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportFavorites_10000In500Folders)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    return BenchRun::runWithWidgets(argc, argv);
}
