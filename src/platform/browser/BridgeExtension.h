#pragma once

#include <QString>

// The names that tie the bridge extension (src/browser/extension) to its
// native-messaging host. They are fixed: browsers match them literally.
class BridgeExtension
{
public:
    // The host's name in its manifests and in the extension's connectNative().
    static QString hostName() { return QStringLiteral("org.sitepins.bridge"); }
    // Firefox knows the extension by this, set in its manifest.
    static QString geckoId() { return QStringLiteral("bridge@sitepins.org"); }
    // The "key" of the Chromium manifest; its private half was never kept.
    static QString publicKey();
    static QString chromiumId();
    static QString chromiumOrigin();
};
