#include "platform/browser/CrxPackage.h"

#include "platform/browser/ExtensionKey.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace {

// What Chromium signs before the header data: this text and its zero.
const QByteArray kSignatureContext("CRX3 SignedData\0", 16);

// CrxFileHeader's fields (crx3.proto).
constexpr quint32 kSha256WithRsa = 2;
constexpr quint32 kSignedHeaderData = 10000;
// AsymmetricKeyProof's and SignedData's.
constexpr quint32 kPublicKey = 1;
constexpr quint32 kSignature = 2;
constexpr quint32 kCrxId = 1;

QByteArray varint(quint64 value)
{
    QByteArray bytes;
    do {
        const char low = char(value & 0x7f);
        value >>= 7;
        bytes += value ? char(low | 0x80) : low;
    } while (value);
    return bytes;
}

// A length-delimited protobuf field.
QByteArray field(quint32 number, const QByteArray &content)
{
    return varint((quint64(number) << 3) | 2) + varint(quint64(content.size())) + content;
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

QByteArray CrxPackage::crxId(const QByteArray &publicKeyDer)
{
    return QCryptographicHash::hash(publicKeyDer, QCryptographicHash::Sha256).left(16);
}

QByteArray CrxPackage::build(const ExtensionKey &key, const QByteArray &zipArchive)
{
    const QByteArray publicKey = key.publicKeyDer();
    if (publicKey.isEmpty())
        return {};
    const QByteArray signedData = field(kCrxId, crxId(publicKey));
    const QByteArray signature =
        key.signSha256(kSignatureContext + littleEndian32(quint32(signedData.size())) + signedData + zipArchive);
    if (signature.isEmpty())
        return {};
    const QByteArray header = field(kSha256WithRsa, field(kPublicKey, publicKey) + field(kSignature, signature)) +
                              field(kSignedHeaderData, signedData);
    return QByteArray("Cr24") + littleEndian32(3) + littleEndian32(quint32(header.size())) + header + zipArchive;
}
