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
    // The temporary file is `.<name>.XXXXXX` beside the file replaced, the
    // X's made unique; this process holds an exclusive flock on it until it
    // is renamed into place or removed.
    // A file that does not exist yet is made with `modeIfNew` (less the
    // umask), or with 0666 less the umask when that is negative.
    static SaveResult write(const QString &path, const QByteArray &bytes, int modeIfNew = -1);
    // The name of the file a temporary file of write() is to replace, or an
    // empty text for a name of any other shape.
    static QString targetOfTemporary(const QString &candidate);
    // The file at the end of the chain of links starting at `path`, or an
    // empty text for a chain that goes round in a circle.
    static QString resolvedTarget(const QString &path);
    // An existing file without write permission for anyone, or one this
    // process may not write.
    static bool isReadOnly(const QString &path);
};
