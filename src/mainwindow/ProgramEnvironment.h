#pragma once

#include <QDate>
#include <QString>

#include <functional>

class DesktopServices;
class UserDialogs;

// What the main window is given from outside: where it runs, what the
// start-up found out, and the services it talks to. Tests hand in their
// own folder, dialogs and clock.
struct ProgramEnvironment
{
    QString programFolder;
    // True when a font named exactly "Microsoft Sans Serif" is installed.
    bool fontAvailable = true;
    UserDialogs *dialogs = nullptr;
    DesktopServices *desktop = nullptr;
    std::function<QDate()> today = [] {
        return QDate::currentDate();
    };
    // Name of the single-instance channel; one per user session.
    QString instanceName = QStringLiteral("SitePins");
    // The module holding the preview's web browser, loaded on first use.
    QString previewEngineModule;
    int splashFirstTickMs = 500;
    int splashPollMs = 100;
    // Ends the program once every window is closed.
    std::function<void()> endProgram;
};
