#include "store/LibraryLock.h"

#include "store/AtomicFile.h"

#include <QFileInfo>

namespace {

// A save takes well under a second; a lock this old was left by a program
// that stopped without removing it.
constexpr int kSavingStaleMs = 60 * 1000;

} // namespace

LibraryLock::LibraryLock(const QString &libraryPath, Purpose purpose)
    : m_lock(lockPath(libraryPath, purpose))
{
    // Held for hours while the library is open: only a holder that is gone
    // makes it stale, never its age.
    m_lock.setStaleLockTime(purpose == Purpose::Open ? 0 : kSavingStaleMs);
}

QString LibraryLock::lockPath(const QString &libraryPath, Purpose purpose)
{
    QString target = AtomicFile::resolvedTarget(libraryPath);
    if (target.isEmpty())
        target = QFileInfo(libraryPath).absoluteFilePath();
    const QFileInfo info(target);
    // Neither suffix is six letters and digits long, the shape of a save's
    // temporary file, so clearing away leftovers never takes a lock.
    const QString suffix = purpose == Purpose::Open ? QStringLiteral(".in-use") : QStringLiteral(".lock");
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + suffix;
}

bool LibraryLock::tryLock(int timeoutMs)
{
    return m_lock.tryLock(timeoutMs);
}

QString LibraryLock::holder() const
{
    qint64 pid = 0;
    QString host, application;
    if (!m_lock.getLockInfo(&pid, &host, &application))
        return QStringLiteral("another program");
    if (host.isEmpty())
        return QStringLiteral("process %1").arg(pid);
    return QStringLiteral("process %1 on %2").arg(pid).arg(host);
}
