#include "platform/browser/ExtensionId.h"

#include <QCryptographicHash>

QString ExtensionId::fromPublicKey(const QByteArray &der)
{
    const QByteArray hex = QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex().left(32);
    QString id;
    id.reserve(hex.size());
    for (const char digit : hex)
        id += QChar(u'a' + (digit <= '9' ? digit - '0' : digit - 'a' + 10));
    return id;
}

QString ExtensionId::fromManifestKey(const QString &base64)
{
    const auto decoded = QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty())
        return {};
    return fromPublicKey(decoded.decoded);
}
