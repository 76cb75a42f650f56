// Reading an Internet shortcut file, as the favourites import does for
// every .url file it finds.
#include "FuzzScratch.h"
#include "browser/logic/InternetShortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = FuzzScratch::file(QStringLiteral("Fuzzed page.url"), data, size);
    const InternetShortcut shortcut = InternetShortcut::read(path);
    (void)shortcut.address.size();
    return 0;
}
