#include "mainwindow/LibraryKeeper.h"

#include "editing/SitePinEditor.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/frmRestoreBackup.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/AtomicFile.h"
#include "store/LibraryBackups.h"
#include "store/LibraryLock.h"
#include "store/XmlDocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

// A question waits while a dialog or menu is up: the dialog may hold parts
// of the library that a reload would take away.
constexpr int kRetryMs = 300;

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

LibraryKeeper::LibraryKeeper(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &LibraryKeeper::considerAsking);
    connect(&m_watch, &LibraryWatch::changedElsewhere, this, &LibraryKeeper::changedElsewhere);
    // Asked once the command that ended the edit has done all it does.
    connect(&window.editor(), &SitePinEditor::editModeLeft, this, &LibraryKeeper::considerAsking, Qt::QueuedConnection);
    window.commands().on(QStringLiteral("mnuFileRestore"), [this] { mnuFileRestore_Click(); });
}

LibraryKeeper::~LibraryKeeper() = default;

void LibraryKeeper::libraryOpened(const FileStamp &asRead)
{
    const QString path = m_window.m_strLibraryPath;
    m_changePending = false;
    m_retry.stop();
    m_backupTrouble.clear();
    m_watch.watch(path, asRead);
    holdLibraryOpen(path);
}

// The lock says nothing to programs that do not take it, and guards
// nothing by itself: what keeps two programs from undoing each other's
// work is that each one sees the other's saves as changes made outside.
void LibraryKeeper::holdLibraryOpen(const QString &path)
{
    m_openLock.reset();
    auto lock = std::make_unique<LibraryLock>(path, LibraryLock::Purpose::Open);
    if (lock->tryLock()) {
        m_openLock = std::move(lock);
        return;
    }
    if (!lock->isHeldByAnother())
        return;
    m_window.hideSplash();
    m_window.message(QStringLiteral("The SitePins file %1 is also open in another SitePins Manager (%2).\n\nChanges "
                                    "saved there are offered here for reloading, and a save here asks before it "
                                    "replaces them.")
                         .arg(native(path), lock->holder()),
                     QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok, MessageIcon::Exclamation);
}

bool LibraryKeeper::mayOverwrite()
{
    if (!m_watch.changedSinceKnown())
        return true;
    return m_window.message(QString::fromLatin1(kOverwriteText), QString::fromLatin1(frmSitePins::kWindowTitle),
                            MessageButtons::YesNo, MessageIcon::Exclamation, MessageAnswer::No) == MessageAnswer::Yes;
}

SaveResult LibraryKeeper::save(const XmlDocument &document, const QString &path)
{
    LibraryLock lock(path, LibraryLock::Purpose::Saving);
    if (!lock.tryLock(m_window.environment().saveLockWaitMs) && lock.isHeldByAnother())
        return SaveResult::failure(QStringLiteral("Another program (%1) is saving the SitePins file %2.")
                                       .arg(lock.holder(), native(AtomicFile::resolvedTarget(path))));
    if (!AtomicFile::isReadOnly(path))
        backUpBeforeFirstSaveOfTheDay(path);
    const SaveResult result = document.save(path);
    if (result.ok) {
        m_watch.noteWritten(result.written);
        // Saved over knowingly: the change made outside is gone.
        m_changePending = false;
    }
    return result;
}

// Never in the way of the save itself: the user hears of a failure once,
// and the next save tries again.
void LibraryKeeper::backUpBeforeFirstSaveOfTheDay(const QString &path)
{
    const LibraryBackups::Result result = LibraryBackups(path).backUpDaily(m_window.environment().today());
    if (result.outcome != LibraryBackups::Outcome::Failed) {
        m_backupTrouble.clear();
        return;
    }
    if (m_backupTrouble.isEmpty())
        m_backupTrouble =
            QStringLiteral("The day's backup of the SitePins file could not be written: %1").arg(result.errorString);
}

void LibraryKeeper::changedElsewhere()
{
    m_changePending = true;
    considerAsking();
}

bool LibraryKeeper::mayAskNow() const
{
    return !m_asking && !m_window.m_blnEditMode && !QApplication::activeModalWidget() &&
           !QApplication::activePopupWidget();
}

void LibraryKeeper::considerAsking()
{
    if (!m_changePending)
        return;
    if (!mayAskNow()) {
        // An open edit asks when it ends; anything else is soon over.
        if (!m_asking && !m_window.m_blnEditMode)
            m_retry.start();
        return;
    }
    FileStamp onDisk;
    m_changePending = false;
    // Changed back meanwhile, or saved over: nothing to ask.
    if (!m_watch.changedSinceKnown(&onDisk))
        return;
    m_asking = true;
    const MessageAnswer answer =
        m_window.message(QString::fromLatin1(kChangedElsewhereText), QString::fromLatin1(frmSitePins::kWindowTitle),
                         MessageButtons::YesNo, MessageIcon::Question, MessageAnswer::Yes);
    m_asking = false;
    if (answer != MessageAnswer::Yes || !m_window.reopenLibrary())
        m_watch.keepShownOver(onDisk);
}

void LibraryKeeper::mnuFileRestore_Click()
{
    if (!m_window.confirmOpeningAnother())
        return;
    const QString library = m_window.m_strLibraryPath;
    const QList<LibraryBackups::Backup> backups = LibraryBackups(library).list();
    if (backups.isEmpty()) {
        m_window.message(QString::fromLatin1(kNoBackupsText).arg(native(library)));
        return;
    }
    frmRestoreBackup dialog(&m_window, library, backups, m_window.environment().fontAvailable);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenPath().isEmpty())
        return;
    restore(dialog.chosenPath());
}

// The library is replaced only by a backup that opens, and only once what
// it held is itself in a backup.
bool LibraryKeeper::restore(const QString &backupPath)
{
    const QString library = m_window.m_strLibraryPath;
    XmlDocument check = XmlDocument::create();
    QFile backup(backupPath);
    if (!check.load(backupPath, library) || !backup.open(QIODevice::ReadOnly)) {
        m_window.message(QStringLiteral("Failed to open the SitePins file"));
        return false;
    }
    const QByteArray bytes = backup.readAll();
    const auto refuse = [this](const QString &why) {
        m_window.message(QStringLiteral("The backup was not restored.\n\n%1").arg(why),
                         QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    };
    if (AtomicFile::isReadOnly(library))
        return refuse(
            QStringLiteral("The SitePins file %1 is read-only.").arg(native(AtomicFile::resolvedTarget(library))));
    LibraryLock lock(library, LibraryLock::Purpose::Saving);
    if (!lock.tryLock(m_window.environment().saveLockWaitMs) && lock.isHeldByAnother())
        return refuse(QStringLiteral("Another program (%1) is saving the SitePins file %2.")
                          .arg(lock.holder(), native(AtomicFile::resolvedTarget(library))));
    const LibraryBackups::Result kept =
        LibraryBackups(library).backUpNow(QDateTime(m_window.environment().today(), QTime::currentTime()));
    if (kept.outcome == LibraryBackups::Outcome::Failed)
        return refuse(QStringLiteral("The SitePins file as it is now could not be kept as a backup first: %1")
                          .arg(kept.errorString));
    const SaveResult written = AtomicFile::write(library, bytes);
    if (!written.ok)
        return refuse(written.errorString);
    lock.unlock();
    return m_window.openLibraryFile(library);
}
