#pragma once

#include <QByteArray>
#include <QString>

// Chromium names an extension after its public key: the first 128 bits of
// the SHA-256 of the key (DER SubjectPublicKeyInfo), one letter a-p per
// hexadecimal digit. An unpacked extension whose manifest carries a "key"
// keeps that name wherever it is loaded from.
class ExtensionId
{
public:
    static QString fromPublicKey(const QByteArray &der);
    // The manifest's "key": the same DER key in base64. Empty for anything else.
    static QString fromManifestKey(const QString &base64);
};
