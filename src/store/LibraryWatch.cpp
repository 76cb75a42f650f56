#include "store/LibraryWatch.h"

#include "store/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

LibraryWatch::LibraryWatch(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &LibraryWatch::settle);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &LibraryWatch::fileTouched);
    // The folder tells when a file appears under the name again, after a
    // rename or a delete and re-create.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &LibraryWatch::fileTouched);
}

void LibraryWatch::watch(const QString &path, const FileStamp &known)
{
    stop();
    m_path = AtomicFile::resolvedTarget(path);
    if (m_path.isEmpty())
        return;
    m_folder = QFileInfo(m_path).absolutePath();
    m_known = known;
    m_watcher.addPath(m_folder);
    rearm();
}

void LibraryWatch::stop()
{
    m_settle.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path.clear();
    m_folder.clear();
    m_watchedInode = 0;
    m_known = {};
    m_keptOver = {};
}

void LibraryWatch::noteWritten(const FileStamp &written)
{
    m_known = written;
    m_keptOver = {};
}

bool LibraryWatch::changedSinceKnown(FileStamp *onDisk)
{
    if (m_path.isEmpty())
        return false;
    const FileStamp now = FileStamp::of(m_path, m_known);
    if (onDisk)
        *onDisk = now;
    // A file that is gone loses nothing when it is written again.
    if (!now.exists)
        return false;
    if (now.sameContent(m_known)) {
        m_known = now; // touched, or copied back unchanged
        return false;
    }
    return true;
}

void LibraryWatch::fileTouched()
{
    if (!m_path.isEmpty())
        m_settle.start();
}

void LibraryWatch::settle()
{
    rearm();
    FileStamp now;
    if (!changedSinceKnown(&now) || now.matches(m_keptOver))
        return;
    emit changedElsewhere();
}

// The system watches a file, not a name: once a rename has put another file
// under the name, the watch is moved to it.
void LibraryWatch::rearm()
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(m_path).constData(), &info) != 0) {
        m_watchedInode = 0;
        return;
    }
    if (info.st_ino == m_watchedInode && m_watcher.files().contains(m_path))
        return;
    m_watcher.removePath(m_path);
    if (m_watcher.addPath(m_path))
        m_watchedInode = info.st_ino;
}
