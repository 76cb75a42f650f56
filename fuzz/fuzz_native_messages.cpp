// What the bridge host reads from the browser: native messages (a length in
// the machine's byte order, then JSON) in pieces of every size, each parsed
// as the host parses it. Messages over the limit are skipped as they stream
// past, never held.
#include "FuzzPieces.h"
#include "platform/browser/NativeMessageCodec.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < FuzzPieces::kHeaderSize)
        return 0;
    const qsizetype maxIncoming = 1 + data[0] * 8;
    NativeMessageCodec codec(maxIncoming);
    FuzzPieces::feed(data, size, [&](const char *piece, qsizetype length) {
        codec.append(piece, length);
        if (codec.partialSize() > NativeMessageCodec::kHeaderSize + maxIncoming)
            std::abort();
        QByteArray message;
        while (codec.next(message)) {
            if (message.size() > maxIncoming)
                std::abort();
            QJsonParseError error;
            const QJsonDocument document = QJsonDocument::fromJson(message, &error);
            if (error.error == QJsonParseError::NoError && document.isObject())
                (void)document.object().value(QStringLiteral("id")).toInteger();
        }
    });
    return 0;
}
