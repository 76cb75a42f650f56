// What the bridge host reads from the browser: native messages (a length in
// the machine's byte order, then JSON) in pieces of every size, each parsed
// as the host parses it. Messages over the limit are skipped as they stream
// past, never held.
#include "platform/browser/NativeMessageCodec.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const qsizetype maxIncoming = 1 + data[0] * 8;
    NativeMessageCodec codec(maxIncoming);
    std::size_t at = 2;
    const std::size_t piece = 1 + data[1] % 64;
    while (at < size) {
        const std::size_t length = std::min(piece, size - at);
        codec.append(reinterpret_cast<const char *>(data + at), qsizetype(length));
        at += length;
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
    }
    return 0;
}
