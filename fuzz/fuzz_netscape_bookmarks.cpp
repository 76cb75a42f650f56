// Reading a bookmark file as File > Import and --import do, whatever its bytes.
#include "exchange/NetscapeBookmarkReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const BookmarkReadResult result = NetscapeBookmarkReader::read(QByteArrayView(data, qsizetype(size)));
    (void)result.ok;
    return 0;
}
