#pragma once

#include "platform/CapturedPage.h"
#include "platform/browser/IntegrationPlaces.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

class BrowserAutomation;
class DesktopServices;
class UserDialogs;

// What the main window is given from outside: where it runs, what the
// start-up found out, and the services it talks to. Tests hand in their
// own folder, dialogs and clock.
struct ProgramEnvironment
{
    QString programFolder;
    // The library to open instead of the default one (an absolute path), as
    // given on the command line; empty for the default.
    QString libraryPath;
    // The program file's own name in that folder.
    QString programName = QStringLiteral("SitePins");
    // Where browser integration writes; none of them unless it runs.
    IntegrationPlaces integrationPlaces;
    // True when a font named exactly "Microsoft Sans Serif" is installed.
    bool fontAvailable = true;
    UserDialogs *dialogs = nullptr;
    DesktopServices *desktop = nullptr;
    // The web browsers beside the program; none: nothing is detected and
    // pages open in the desktop's default browser.
    BrowserAutomation *browsers = nullptr;
    // How long a detection of the open browser windows may take.
    int browserDetectionMs = 500;
    std::function<QDate()> today = [] {
        return QDate::currentDate();
    };
    // The page this start was asked to keep (the browser's button started
    // it): handed to a running instance, or captured at this start.
    std::optional<CapturedPage> pageToCapture;
    // Name of the single-instance channel; one per user session.
    QString instanceName = QStringLiteral("SitePins");
    // How long a second start waits for the running instance to answer.
    int handOverTimeoutMs = 3000;
    // How long a save waits while another program saves the same library.
    int saveLockWaitMs = 5000;
    // Where the start moved a damaged settings file; empty when it did not.
    QString damagedSettingsMovedTo;
    // The module holding the preview's web browser, loaded on first use.
    QString previewEngineModule;
    int splashFirstTickMs = 500;
    int splashPollMs = 100;
    // Ends the program once every window is closed.
    std::function<void()> endProgram;
};
