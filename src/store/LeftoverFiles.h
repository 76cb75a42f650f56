#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A save killed half-way leaves its temporary file beside the library: a
// hidden copy as large as the library itself. These are cleared away when
// the library is opened, and only these: a name write() gives temporaries of
// exactly this file, a regular file, no longer being written (no process
// holds its lock) and left alone for a while.
class LeftoverFiles
{
public:
    // Long enough that a save in progress, which holds its lock anyway, is
    // never mistaken for one that died.
    static constexpr qint64 kMinimumAgeSeconds = 60;

    // Removes the leftovers of saving `libraryPath` (through links, where
    // the saves write); returns the names removed.
    static QStringList removeBeside(const QString &libraryPath, qint64 minimumAgeSeconds = kMinimumAgeSeconds);
    // The leftovers in `folder` of saving the files whose names `isOurs` accepts.
    static QStringList removeIn(const QString &folder, const std::function<bool(const QString &)> &isOurs,
                                qint64 minimumAgeSeconds = kMinimumAgeSeconds);
};
