#pragma once

#include <QByteArray>

class ExtensionKey;

// A packed Chromium extension (CRX version 3): the zip archive behind a
// header that carries the public key and an RSA signature over the
// archive, as Chromium checks before installing it. Written here rather
// than by `chromium --pack-extension`, which needs the browser installed
// and not busy with the same profile.
class CrxPackage
{
public:
    // Empty when the key cannot sign.
    static QByteArray build(const ExtensionKey &key, const QByteArray &zipArchive);
    // The first 16 bytes of the SHA-256 of the public key: the extension's
    // id before it is spelt in letters.
    static QByteArray crxId(const QByteArray &publicKeyDer);
};
