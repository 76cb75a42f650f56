#pragma once

#include "store/LibraryBackups.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

// File > Restore from backup...: the library's backups, newest first, with
// their date, size and how many folders and SitePins each holds. It only
// chooses; the main window does the restoring.
class frmRestoreBackup : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char *kCaption = "Restore from backup";

    frmRestoreBackup(QWidget *parent, const QString &libraryPath, const QList<LibraryBackups::Backup> &backups,
                     bool fontAvailable);

    // The backup chosen when the dialog was accepted.
    QString chosenPath() const;

private:
    void buildControls(const QString &libraryPath);
    void fillList(const QString &libraryPath, const QList<LibraryBackups::Backup> &backups);

    QTreeWidget *lvwBackups = nullptr;
    QPushButton *cmdRestore = nullptr;
    QPushButton *cmdCancel = nullptr;
};
