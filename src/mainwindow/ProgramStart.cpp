#include "mainwindow/ProgramStart.h"

#include "mainwindow/DesktopLook.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmSitePins.h"
#include "platform/InstalledComponents.h"
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
    ProgramEnvironment environment;
    environment.programFolder = QApplication::applicationDirPath();
    environment.fontAvailable = FontFallback::isFontAvailable();
    environment.dialogs = &dialogs;
    environment.desktop = &desktop;
    environment.endProgram = [] {
        QCoreApplication::quit();
    };
    TabIndexSetting::addDefaultFormValues();
    InstalledComponents::registerComponents(InstalledComponents::viewer(), InstalledComponents::browser());

    frmSitePins window(environment);
    if (!window.prepare())
        return 0;
    return app.exec();
}
