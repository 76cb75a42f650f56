#pragma once

#include "store/SaveResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The native-messaging host manifest that tells a browser which program to
// start when the bridge extension connects, and which extension may.
// Chromium and Chrome look for it in <user data folder>/NativeMessagingHosts,
// Firefox in ~/.mozilla/native-messaging-hosts, always as <host name>.json.
class HostManifest
{
public:
    enum class Browser
    {
        Chromium, // Chrome too
        Firefox,
    };

    // Chromium's manifest lets the fixed unpacked extension in, and the
    // extensions of these ids too (an installation's packed one).
    static QByteArray json(Browser browser, const QString &hostPath, const QStringList &moreChromiumIds = {});
    // Writes the manifest into the folder (made when missing), atomically.
    static SaveResult write(Browser browser, const QString &folder, const QString &hostPath);
    static QString fileName();

    static QString chromiumFolder();
    static QString chromeFolder();
    static QString firefoxFolder();
    // For a browser started with --user-data-dir.
    static QString userDataFolder(const QString &userDataDir);
};
