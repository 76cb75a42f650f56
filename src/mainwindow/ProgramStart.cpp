#include "mainwindow/ProgramStart.h"

#include "mainwindow/DesktopLook.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmSitePins.h"
#include "platform/browser/BrowserConnections.h"
#include "platform/browser/DevToolsBrowser.h"
#include "platform/ui/QtDesktopServices.h"
#include "platform/ui/QtUserDialogs.h"

#include <QApplication>

int ProgramStart::run(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("SitePins"));
    QApplication::setApplicationDisplayName(QStringLiteral("SitePins Manager"));
    DesktopLook::apply();

    QtUserDialogs dialogs;
    QtDesktopServices desktop;
    BrowserConnections browsers;
    browsers.add(std::make_unique<DevToolsBrowser>());
    ProgramEnvironment environment;
    environment.programFolder = QApplication::applicationDirPath();
    environment.fontAvailable = FontFallback::isFontAvailable();
    environment.dialogs = &dialogs;
    environment.desktop = &desktop;
    environment.browsers = &browsers;
    environment.endProgram = [] {
        QCoreApplication::quit();
    };
    TabIndexSetting::addDefaultFormValues();

    frmSitePins window(environment);
    if (!window.prepare())
        return 0;
    return app.exec();
}
