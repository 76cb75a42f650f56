#include "store/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

qint64 modifiedNsOf(const struct stat &info)
{
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

} // namespace

FileStamp FileStamp::of(const QString &path, const FileStamp &known)
{
    FileStamp stamp;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return stamp;
    struct stat info
    {
    };
    // Taken from the open file, so that identity and bytes are of one file
    // even should it be replaced meanwhile.
    if (::fstat(file.handle(), &info) != 0 || !S_ISREG(info.st_mode))
        return stamp;
    stamp.exists = true;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = modifiedNsOf(info);
    if (stamp.sameFile(known) && !known.digest.isEmpty()) {
        stamp.digest = known.digest;
        return stamp;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return {};
    stamp.digest = hash.result();
    return stamp;
}

QByteArray FileStamp::digestOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

bool FileStamp::sameFile(const FileStamp &other) const
{
    if (!exists || !other.exists)
        return exists == other.exists;
    return device == other.device && inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
}

bool FileStamp::sameContent(const FileStamp &other) const
{
    if (!exists || !other.exists)
        return exists == other.exists;
    return !digest.isEmpty() && digest == other.digest;
}
