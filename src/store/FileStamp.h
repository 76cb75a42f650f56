#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// What tells one state of a file from another: which file it is (device and
// inode, so a file replaced by a rename counts as new), when it was last
// written, its size, and a digest of its bytes. Two stamps with equal
// digests hold the same document, whatever else differs.
struct FileStamp
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    QByteArray digest;

    // The file as it is now, read through links; a stamp that does not exist
    // when it cannot be read. The bytes are read only when the file is not
    // the one `known` was taken of.
    static FileStamp of(const QString &path, const FileStamp &known);
    static FileStamp of(const QString &path) { return of(path, FileStamp()); }
    static QByteArray digestOf(const QByteArray &bytes);

    // The same file, untouched since the stamp was taken.
    bool sameFile(const FileStamp &other) const;
    bool sameContent(const FileStamp &other) const;
    // Either of the two above: nothing that matters happened to the file.
    bool matches(const FileStamp &other) const { return sameFile(other) || sameContent(other); }
};
