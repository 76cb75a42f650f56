#pragma once

#include <QString>

// Points the XDG folders (settings, data, runtime socket) of this test
// process at a private temporary folder, so tests never touch the user's own
// files and parallel test programs never see each other.
class TestEnvironment
{
public:
    static void isolateXdgFolders();
    static QString toolPath(const QString &name);
    static QString bridgeHostPath();
    // The built extension as a browser loads it: "chromium" or "firefox".
    static QString extensionDir(const QString &browser);
    // The built Icon.ico and HotIcon.ico.
    static QString iconFile(const QString &name);
};
