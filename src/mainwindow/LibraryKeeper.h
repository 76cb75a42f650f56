#pragma once

#include "store/FileStamp.h"
#include "store/LibraryWatch.h"
#include "store/SaveResult.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class LibraryLock;
class XmlDocument;
class frmSitePins;

// Keeps the open library from being lost: the day's backup before the
// first save, restoring a backup, changes made to the file outside the
// program, and other programs that have the same file open.
class LibraryKeeper : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kChangedElsewhereText =
        "The SitePins file was changed outside SitePins Manager. Reload it?";
    static constexpr const char *kOverwriteText =
        "The SitePins file was changed outside SitePins Manager after it was last read here. Saving now replaces "
        "it with the library shown here, and the changes made outside are lost.\n\nSave anyway?";
    static constexpr const char *kNoBackupsText = "There are no backups of the SitePins file %1 yet.";
    static constexpr const char *kBackupFailedPanelText = "No backup";

    explicit LibraryKeeper(frmSitePins &window);
    ~LibraryKeeper() override;

    // The library at the main window's path was opened; it was `asRead`
    // just before it was read.
    void libraryOpened(const FileStamp &asRead);
    // True unless the file changed elsewhere and the user keeps it.
    bool mayOverwrite();
    // Backs up the day's first state, then writes the document under the
    // save lock.
    SaveResult save(const XmlDocument &document, const QString &path);
    // Why the day's backup could not be made, or empty.
    QString backupTrouble() const { return m_backupTrouble; }

    void mnuFileRestore_Click();

private:
    void changedElsewhere();
    void considerAsking();
    bool mayAskNow() const;
    void backUpBeforeFirstSaveOfTheDay(const QString &path);
    void holdLibraryOpen(const QString &path);
    bool restore(const QString &backupPath);

    frmSitePins &m_window;
    LibraryWatch m_watch;
    QTimer m_retry;
    std::unique_ptr<LibraryLock> m_openLock;
    QString m_backupTrouble;
    bool m_changePending = false;
    bool m_asking = false;
};
