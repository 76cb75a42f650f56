#include "store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

mode_t defaultMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes and flushes the temporary file; returns 0 or the failing errno.
int fillAndClose(int fd, const QByteArray &bytes)
{
    int error = 0;
    if (!writeAll(fd, bytes, error)) {
        ::close(fd);
        return error;
    }
    if (::fsync(fd) != 0) {
        error = errno;
        ::close(fd);
        return error;
    }
    return ::close(fd) == 0 ? 0 : errno;
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

SaveResult AtomicFile::write(const QString &path, const QByteArray &bytes)
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
    if (targetInfo.exists())
        keepOwnershipAndMode(fd, target);
    else
        ::fchmod(fd, defaultMode());

    int error = fillAndClose(fd, bytes);
    if (error == 0 && ::rename(temporaryName.constData(), QFile::encodeName(target).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporaryName.constData());
        return failure(QStringLiteral("Could not write"), target, error);
    }
    // Make the rename itself durable, so a power cut cannot bring back the old file.
    syncFolder(folder);
    return SaveResult::success();
}
