// Opens a library and saves it over and over, changing one field each time,
// until it is killed. Used to check that a save interrupted at any moment
// never leaves a library that fails to open.
#include "store/XMLDatabase.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    XMLDatabase db;
    if (!db.openDBValidate(path))
        return 3;
    XmlDocument dom = db.getTheDOM();
    XmlNode notes = dom.documentElement().getElementsByTagName("NOTES").front();
    std::puts("ready");
    std::fflush(stdout);
    for (long round = 0;; ++round) {
        notes.setText(QStringLiteral("round %1").arg(round));
        if (!dom.save(path).ok)
            return 4;
    }
}
