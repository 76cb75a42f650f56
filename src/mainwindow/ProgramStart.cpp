#include "mainwindow/ProgramStart.h"

#include "mainwindow/DesktopLook.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmSitePins.h"
#include "platform/InstalledComponents.h"
#include "platform/RegistryFunctions.h"
#include "platform/browser/BridgeBrowser.h"
#include "platform/browser/BridgeFolder.h"
#include "platform/browser/BrowserConnections.h"
#include "platform/browser/DevToolsBrowser.h"
#include "platform/ui/QtDesktopServices.h"
#include "platform/ui/QtUserDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Beside the program in a build, in the library folder once installed.
QString previewEngineModule()
{
    const QDir programFolder(QApplication::applicationDirPath());
    const QString name = QStringLiteral(SITEPINS_PREVIEW_MODULE);
    const QString beside = programFolder.filePath(name);
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(programFolder.filePath(QStringLiteral("../" SITEPINS_MODULE_DIR "/") + name));
}

} // namespace

int ProgramStart::run(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("SitePins"));
    QApplication::setApplicationDisplayName(QStringLiteral("SitePins Manager"));
    DesktopLook::apply();

    QtUserDialogs dialogs;
    QtDesktopServices desktop;
    BrowserConnections browsers;
    // The bridge first: it reaches the browsers users run every day.
    browsers.add(std::make_unique<BridgeBrowser>(BridgeFolder::path()));
    browsers.add(std::make_unique<DevToolsBrowser>());
    ProgramEnvironment environment;
    environment.programFolder = QApplication::applicationDirPath();
    environment.fontAvailable = FontFallback::isFontAvailable();
    environment.dialogs = &dialogs;
    environment.desktop = &desktop;
    environment.browsers = &browsers;
    environment.previewEngineModule = previewEngineModule();
    environment.endProgram = [] {
        QCoreApplication::quit();
    };
    prepareSettings(environment);
    InstalledComponents::registerComponents(InstalledComponents::viewer(), InstalledComponents::browser());

    frmSitePins window(environment);
    switch (window.prepare()) {
    case frmSitePins::StartOutcome::Running:
        return app.exec();
    case frmSitePins::StartOutcome::HandedOver:
        return 0;
    case frmSitePins::StartOutcome::NoAnswer:
        break;
    }
    return 1;
}

void ProgramStart::prepareSettings(ProgramEnvironment &environment)
{
    environment.damagedSettingsMovedTo = RegistryFunctions::setAsideDamagedFile(RegistryRoot::HKEY_CURRENT_USER);
    TabIndexSetting::addDefaultFormValues();
}
