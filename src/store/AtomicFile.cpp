#include "store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

SaveResult failure(const QString &what, const QString &path, int error)
{
    return SaveResult::failure(
        QStringLiteral("%1 %2: %3").arg(what, QDir::toNativeSeparators(path), systemError(error)));
}

bool writeAll(int fd, const QByteArray &bytes, int &error)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (written == 0) {
            error = ENOSPC;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

void keepOwnershipAndMode(int fd, const QString &target)
{
    struct stat old
    {
    };
    if (::stat(QFile::encodeName(target).constData(), &old) != 0)
        return;
    ::fchmod(fd, old.st_mode & 07777);
    if (::geteuid() == 0) [[maybe_unused]]
        const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
}

void syncFolder(const QString &folder)
{
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

mode_t defaultMode()
{
    return 0666 & ~currentUmask();
}

// Writes the temporary file and flushes it to disk; returns 0 or the
// failing errno. What was written is described in `written`.
int fillAndSync(int fd, const QByteArray &bytes, struct stat &written)
{
    int error = 0;
    if (!writeAll(fd, bytes, error))
        return error;
    if (::fsync(fd) != 0 || ::fstat(fd, &written) != 0)
        return errno;
    return 0;
}

FileStamp stampOf(const struct stat &written, const QByteArray &bytes)
{
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = written.st_dev;
    stamp.inode = written.st_ino;
    stamp.size = written.st_size;
    stamp.modifiedNs = qint64(written.st_mtim.tv_sec) * 1000000000 + written.st_mtim.tv_nsec;
    stamp.digest = FileStamp::digestOf(bytes);
    return stamp;
}

// As many as the system itself follows before it gives up with ELOOP.
constexpr int kMostLinksFollowed = 40;

} // namespace

QString AtomicFile::resolvedTarget(const QString &path)
{
    QFileInfo info(path);
    for (int followed = 0; followed <= kMostLinksFollowed; ++followed) {
        if (!info.isSymLink())
            return info.absoluteFilePath();
        info.setFile(info.symLinkTarget());
    }
    return {};
}

// Root may write any file, so the write permission bits decide before the
// process's own access does.
bool AtomicFile::isReadOnly(const QString &path)
{
    const QString target = resolvedTarget(path);
    if (target.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(target);
    struct stat info
    {
    };
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if ((info.st_mode & 0222) == 0)
        return true;
    if (::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) == 0)
        return false;
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

// mkostemp() fills the six places with letters and digits.
QString AtomicFile::targetOfTemporary(const QString &candidate)
{
    constexpr qsizetype kUnique = 6;
    if (candidate.size() < 2 + 1 + kUnique || !candidate.startsWith(QLatin1Char('.')) ||
        candidate.at(candidate.size() - kUnique - 1) != QLatin1Char('.'))
        return {};
    for (const QChar c : QStringView(candidate).last(kUnique)) {
        if (c.unicode() > 127 || !std::isalnum(int(c.unicode())))
            return {};
    }
    return candidate.mid(1, candidate.size() - kUnique - 2);
}

SaveResult AtomicFile::write(const QString &path, const QByteArray &bytes, int modeIfNew)
{
    const QString target = resolvedTarget(path);
    if (target.isEmpty())
        return failure(QStringLiteral("Could not write"), path, ELOOP);
    const QFileInfo targetInfo(target);
    const QString folder = targetInfo.absolutePath();
    QByteArray temporaryName =
        QFile::encodeName(QDir(folder).filePath(QLatin1Char('.') + targetInfo.fileName() + QStringLiteral(".XXXXXX")));

    const int fd = ::mkostemp(temporaryName.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(QStringLiteral("Could not create a file in"), folder, errno);
    // Held until the file is in place or gone: whoever clears away leftovers
    // of killed saves can tell this one is still being written.
    ::flock(fd, LOCK_EX);
    if (targetInfo.exists())
        keepOwnershipAndMode(fd, target);
    else
        ::fchmod(fd, modeIfNew >= 0 ? mode_t(modeIfNew) & ~currentUmask() : defaultMode());

    struct stat written
    {
    };
    int error = fillAndSync(fd, bytes, written);
    if (error == 0 && ::rename(temporaryName.constData(), QFile::encodeName(target).constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporaryName.constData());
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        return failure(QStringLiteral("Could not write"), target, error);
    // Make the rename itself durable, so a power cut cannot bring back the old file.
    syncFolder(folder);
    SaveResult result = SaveResult::success();
    result.written = stampOf(written, bytes);
    return result;
}
