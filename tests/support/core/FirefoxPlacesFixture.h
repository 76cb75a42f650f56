#pragma once

#include <QString>
#include <QStringList>

// A Firefox places.sqlite as the tests need it: the two tables the reader
// uses, as Firefox creates them, with the fixed root folders and a few
// bookmarks of every kind.
class FirefoxPlacesFixture
{
public:
    static const char *const kSchema;
    // What a reader finds in it, as BookmarkOutline writes it.
    static const QStringList kOutline;
    // Writes a new database holding kSchema; false if it could not.
    static bool write(const QString &path);
};
