#pragma once

#include <QLockFile>
#include <QString>

// Advisory locks beside a library file (through links, beside the file
// itself), honoured by every SitePins Manager: one taken while a save
// writes the file, so that two programs never replace it at the same
// moment; one held for as long as a program has the library open, so that
// a second program opening it can tell the user.
class LibraryLock
{
public:
    enum class Purpose
    {
        Saving,
        Open,
    };

    LibraryLock(const QString &libraryPath, Purpose purpose);

    // False when another program holds the lock, or it cannot be made (a
    // folder that takes no new files, where a save fails anyway).
    bool tryLock(int timeoutMs = 0);
    void unlock() { m_lock.unlock(); }
    bool isLocked() const { return m_lock.isLocked(); }
    // The last tryLock() failed because another program holds the lock.
    bool isHeldByAnother() const { return m_lock.error() == QLockFile::LockFailedError; }
    // Who holds it, as the user can recognise it: "process 4711 on host".
    QString holder() const;

    static QString lockPath(const QString &libraryPath, Purpose purpose);

private:
    QLockFile m_lock;
};
