// Holds one of the locks beside a library, as another program would, until
// its standard input closes. Arguments: the library, "open" or "saving".
#include "store/LibraryLock.h"

#include <QCoreApplication>

#include <cstdio>
#include <string_view>
#include <unistd.h>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const bool open = std::string_view(argv[2]) == "open";
    LibraryLock lock(QString::fromLocal8Bit(argv[1]), open ? LibraryLock::Purpose::Open : LibraryLock::Purpose::Saving);
    if (!lock.tryLock())
        return 3;
    std::puts("ready");
    std::fflush(stdout);
    char byte;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    return 0;
}
