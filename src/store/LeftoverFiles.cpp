#include "store/LeftoverFiles.h"

#include "store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The lock is taken on the file itself, so a name replaced since it was
// listed is left alone: the file unlinked must be the one that was checked.
bool removeIfAbandoned(int folderFd, const QByteArray &name, qint64 minimumAgeSeconds)
{
    const int fd = ::openat(folderFd, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat opened
    {
    };
    struct stat named
    {
    };
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
        std::time(nullptr) - opened.st_mtim.tv_sec >= minimumAgeSeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(folderFd, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == opened.st_dev &&
        named.st_ino == opened.st_ino)
        removed = ::unlinkat(folderFd, name.constData(), 0) == 0;
    ::close(fd);
    return removed;
}

} // namespace

QStringList LeftoverFiles::removeBeside(const QString &libraryPath, qint64 minimumAgeSeconds)
{
    const QString target = AtomicFile::resolvedTarget(libraryPath);
    if (target.isEmpty())
        return {};
    const QFileInfo info(target);
    const QString fileName = info.fileName();
    return removeIn(
        info.absolutePath(), [&fileName](const QString &target) { return target == fileName; }, minimumAgeSeconds);
}

QStringList LeftoverFiles::removeIn(const QString &folder, const std::function<bool(const QString &)> &isOurs,
                                    qint64 minimumAgeSeconds)
{
    QStringList removed;
    const int folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return removed;
    const QStringList hidden = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &candidate : hidden) {
        const QString target = AtomicFile::targetOfTemporary(candidate);
        if (!target.isEmpty() && isOurs(target) &&
            removeIfAbandoned(folderFd, QFile::encodeName(candidate), minimumAgeSeconds))
            removed << candidate;
    }
    ::close(folderFd);
    return removed;
}
