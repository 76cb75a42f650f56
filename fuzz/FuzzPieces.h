#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <functional>

// A peer's bytes as a stream target takes them: the input's first byte is
// left to the target (to choose a limit), its second sets the size of the
// pieces the rest arrives in, from 1 to 64 bytes.
class FuzzPieces
{
public:
    static constexpr std::size_t kHeaderSize = 2;

    // Does nothing when the input holds no more than its two leading bytes.
    static void feed(const std::uint8_t *data, std::size_t size,
                     const std::function<void(const char *piece, qsizetype length)> &take);
};
