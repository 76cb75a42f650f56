#pragma once

#include "SilentDialogs.h"
#include "mainwindow/ProgramEnvironment.h"

#include <QTemporaryDir>

#include <memory>

class DesktopServices;
class frmSitePins;

// The real main window, offscreen, in a program folder of its own, on the
// library the bench writes there first. Pages it would open go nowhere.
class BenchWindow
{
public:
    // A library without folders.
    static const char *const kEmptyLibrary;

    explicit BenchWindow(const QString &instanceName);
    ~BenchWindow();

    // The library the window opens; its folder exists.
    QString libraryPath() const;
    // An empty text on success, else why the library could not be written.
    QString writeLibrary(const QByteArray &text) const;
    // Prepares and shows the window: an empty text when it runs on the
    // library, else why not.
    QString open();

    frmSitePins &window() { return *m_window; }
    SilentDialogs &dialogs() { return m_dialogs; }

private:
    QTemporaryDir m_folder;
    SilentDialogs m_dialogs;
    std::unique_ptr<DesktopServices> m_desktop;
    ProgramEnvironment m_environment;
    std::unique_ptr<frmSitePins> m_window;
};
