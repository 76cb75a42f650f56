#include "LibraryGenerator.h"

#include <QString>

#include <cstdio>

// make_library <count> <output path>: writes a synthetic library with that
// many SitePins, the same bytes every time.
int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <count> <output path>\n", argv[0]);
        return 2;
    }
    bool isNumber = false;
    const int count = QString::fromLocal8Bit(argv[1]).toInt(&isNumber);
    if (!isNumber || count < 0 || count > LibraryGenerator::kMaxSitePins) {
        std::fprintf(stderr, "%s: the count must be a number from 0 to %d\n", argv[0], LibraryGenerator::kMaxSitePins);
        return 2;
    }
    const QString error = LibraryGenerator::writeLibrary(QString::fromLocal8Bit(argv[2]), count);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[2], qPrintable(error));
        return 1;
    }
    return 0;
}
