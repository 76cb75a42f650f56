#include "mainwindow/ProgramStart.h"

#include "mainwindow/DesktopLook.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/frmSitePins.h"
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
    ProgramEnvironment environment;
    environment.programFolder = QApplication::applicationDirPath();
    environment.fontAvailable = FontFallback::isFontAvailable();
    environment.dialogs = &dialogs;
    environment.desktop = &desktop;
    environment.previewEngineModule = previewEngineModule();
    environment.endProgram = [] {
        QCoreApplication::quit();
    };
    TabIndexSetting::addDefaultFormValues();

    frmSitePins window(environment);
    if (!window.prepare())
        return 0;
    return app.exec();
}
