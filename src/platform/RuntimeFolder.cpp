#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kFolderName = QStringLiteral("SitePins");

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The XDG rule for the runtime folder: ours, and nobody else may look in.
bool isPrivateBase(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

} // namespace

bool RuntimeFolder::makePrivate(const QString &path, QString *errorString)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        *errorString = QStringLiteral("Cannot create %1: %2").arg(path, systemError(errno));
        return false;
    }
    // Judged on the folder we hold open, not on the name, so that nothing
    // can be swapped in between; a link in its place is not followed.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *errorString = QStringLiteral("%1 is not a folder: %2").arg(path, systemError(errno));
        return false;
    }
    struct stat info = {};
    bool ok = ::fstat(fd, &info) == 0;
    if (!ok) {
        *errorString = QStringLiteral("Cannot examine %1: %2").arg(path, systemError(errno));
    } else if (info.st_uid != ::geteuid()) {
        ok = false;
        *errorString = QStringLiteral("%1 belongs to another user").arg(path);
    } else if ((info.st_mode & 077) != 0 && ::fchmod(fd, 0700) != 0) {
        ok = false;
        *errorString = QStringLiteral("Cannot make %1 private: %2").arg(path, systemError(errno));
    }
    ::close(fd);
    return ok;
}

RuntimeFolder RuntimeFolder::locate()
{
    RuntimeFolder folder;
    QStringList reasons;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        const QString candidate = QDir(runtime).filePath(kFolderName);
        QString why;
        if (!isPrivateBase(runtime))
            reasons << QStringLiteral("%1 is not a private folder of this user").arg(runtime);
        else if (makePrivate(candidate, &why))
            folder.m_path = candidate;
        else
            reasons << why;
    }
    if (folder.m_path.isEmpty()) {
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        const QString parent = QDir(cache).filePath(kFolderName);
        const QString candidate = QDir(parent).filePath(QStringLiteral("runtime"));
        QString why;
        if (cache.isEmpty())
            reasons << QStringLiteral("There is no cache folder");
        else if (!QDir().mkpath(parent))
            reasons << QStringLiteral("Cannot create %1").arg(parent);
        else if (makePrivate(candidate, &why))
            folder.m_path = candidate;
        else
            reasons << why;
    }
    folder.m_errorString = reasons.join(QStringLiteral("; "));
    return folder;
}

QString RuntimeFolder::filePath(const QString &fileName) const
{
    return m_path.isEmpty() ? QString() : QDir(m_path).filePath(fileName);
}
