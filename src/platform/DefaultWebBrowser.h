#pragma once

#include <QString>
#include <QStringList>

// Starts the desktop's default web browser on no page in particular, as
// its menu entry would. Opening an address goes through the desktop's URL
// handler instead; this is for the blank window, which has no address to
// hand over.
class DefaultWebBrowser
{
public:
    static bool start();

    // The desktop entry the desktop names as its web browser
    // ("chromium.desktop"), or empty.
    static QString desktopEntryName();
    // The command line of a desktop entry's Exec key, its field codes
    // (%u, %U, %f …) dropped; empty when the file has none.
    static QStringList launchCommand(const QString &desktopFilePath);
    static QStringList commandFromExec(const QString &exec);
};
