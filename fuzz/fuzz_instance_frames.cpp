// The frame decoder of the instance channel (and of the bridge's sockets),
// fed a peer's bytes in pieces of every size. It must never hold more than
// one frame's worth, and never take back that a stream is invalid.
#include "FuzzPieces.h"
#include "platform/FrameCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < FuzzPieces::kHeaderSize)
        return 0;
    // A small limit, so that frames over it are found too.
    const qsizetype maxPayload = 1 + data[0] * 16;
    FrameCodec codec(maxPayload);
    bool invalid = false;
    FuzzPieces::feed(data, size, [&](const char *piece, qsizetype length) {
        codec.append(QByteArray(piece, length));
        Message message;
        FrameCodec::Status status;
        while ((status = codec.decodeNext(message)) == FrameCodec::Status::MessageReady) {
            if (message.payload.size() > maxPayload || !FrameCodec::isKnownType(message.type))
                std::abort();
            (void)message.text();
        }
        if (invalid && status != FrameCodec::Status::Invalid)
            std::abort();
        invalid = status == FrameCodec::Status::Invalid;
        if (invalid && codec.errorString().isEmpty())
            std::abort();
        if (status == FrameCodec::Status::NeedMoreData && codec.bufferedSize() > FrameCodec::kHeaderSize + maxPayload)
            std::abort();
    });
    return 0;
}
