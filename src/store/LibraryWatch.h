#pragma once

#include "store/FileStamp.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Watches the open library file for changes made by anyone but this
// program: a sync tool, an editor, another program. A file replaced by a
// rename is a new file to the system; the watch follows the name, not the
// file it first found there. What this program read or wrote last is the
// known state; a change back to it, or one that leaves the bytes as they
// were, is no change.
class LibraryWatch : public QObject
{
    Q_OBJECT

public:
    // Writers replace a file in several steps; one look once they are done.
    static constexpr int kSettleMs = 200;

    explicit LibraryWatch(QObject *parent = nullptr);

    // From now on `path`, which was `known` when it was read.
    void watch(const QString &path, const FileStamp &known);
    void stop();
    QString path() const { return m_path; }

    // This program wrote the file.
    void noteWritten(const FileStamp &written);
    // The user keeps what is shown rather than the file as it now is; a
    // later change is told again.
    void keepShownOver(const FileStamp &onDisk) { m_keptOver = onDisk; }
    // The file exists and holds something other than what this program
    // last read or wrote; `onDisk` receives what it holds.
    bool changedSinceKnown(FileStamp *onDisk = nullptr);

signals:
    // A change not yet told of, once the file has settled.
    void changedElsewhere();

private:
    void fileTouched();
    void settle();
    void rearm();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
    QString m_folder;
    ino_t m_watchedInode = 0;
    FileStamp m_known;
    FileStamp m_keptOver;
};
