#pragma once

#include "store/SaveResult.h"

#include <QByteArray>
#include <QString>

// Replaces a file so that it is, at every moment, either the old or the new
// content: a temporary file in the same folder, written and flushed to disk,
// then renamed over the old one. QSaveFile is not used because it reports a
// short write (a full disk) as success and then renames a truncated file
// into place.
class AtomicFile
{
public:
    static SaveResult write(const QString &path, const QByteArray &bytes);
};
