#pragma once

#include <QString>

// A Firefox places.sqlite as the tests need it: the two tables the reader
// uses, as Firefox creates them, with the fixed root folders and a few
// bookmarks of every kind.
class FirefoxPlacesFixture
{
public:
    static const char *const kSchema;
    // Writes a new database holding kSchema; false if it could not.
    static bool write(const QString &path);
};
