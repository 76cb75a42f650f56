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
    // A symbolic link stays a link, however many links lead to the file: the
    // file at the end of the chain is the one replaced.
    static SaveResult write(const QString &path, const QByteArray &bytes);
    // The file at the end of the chain of links starting at `path`, or an
    // empty text for a chain that goes round in a circle.
    static QString resolvedTarget(const QString &path);
    // An existing file without write permission for anyone, or one this
    // process may not write.
    static bool isReadOnly(const QString &path);
};
