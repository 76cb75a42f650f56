#include "FuzzPieces.h"

#include <algorithm>

void FuzzPieces::feed(const std::uint8_t *data, std::size_t size,
                      const std::function<void(const char *piece, qsizetype length)> &take)
{
    if (size < kHeaderSize)
        return;
    const std::size_t piece = 1 + data[1] % 64;
    for (std::size_t at = kHeaderSize; at < size; at += piece) {
        const std::size_t length = std::min(piece, size - at);
        take(reinterpret_cast<const char *>(data + at), qsizetype(length));
    }
}
