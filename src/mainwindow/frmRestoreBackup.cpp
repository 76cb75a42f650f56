#include "mainwindow/frmRestoreBackup.h"

#include "editing/DialogControls.h"
#include "mainwindow/FontFallback.h"
#include "store/XmlDocument.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column
{
    DateColumn,
    SizeColumn,
    FoldersColumn,
    SitePinsColumn,
};

QString whenText(const LibraryBackups::Backup &backup)
{
    const QString date = backup.date.toString(QStringLiteral("yyyy-MM-dd"));
    if (!backup.time.isValid())
        return date;
    return date + QLatin1Char(' ') + backup.time.toString(QStringLiteral("HH:mm:ss")) +
           QStringLiteral(" (before a restore)");
}

} // namespace

frmRestoreBackup::frmRestoreBackup(QWidget *parent, const QString &libraryPath,
                                   const QList<LibraryBackups::Backup> &backups, bool fontAvailable)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRestoreBackup"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setModal(true);
    buildControls(libraryPath);
    fillList(libraryPath, backups);
    FontFallback::applyIfMissing(fontAvailable, this);
}

void frmRestoreBackup::buildControls(const QString &libraryPath)
{
    QLabel *instruction = DialogControls::plainLabel(
        this, QStringLiteral("lblInstruction"),
        QStringLiteral("Choose the backup to restore. The SitePins file %1 as it is now is kept as a backup first.")
            .arg(QDir::toNativeSeparators(libraryPath)));
    instruction->setWordWrap(true);
    lvwBackups = new QTreeWidget(this);
    lvwBackups->setObjectName(QStringLiteral("lvwBackups"));
    lvwBackups->setFont(FontFallback::designFont());
    lvwBackups->setRootIsDecorated(false);
    lvwBackups->setHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Size"), QStringLiteral("Folders"), QStringLiteral("SitePins")});
    lvwBackups->header()->setStretchLastSection(false);
    lvwBackups->header()->setSectionResizeMode(DateColumn, QHeaderView::Stretch);
    cmdRestore = DialogControls::button(this, QStringLiteral("cmdRestore"), QStringLiteral("&Restore"));
    cmdCancel = DialogControls::button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdRestore->setEnabled(false);
    cmdRestore->setDefault(true);

    QHBoxLayout *buttons = DialogControls::buttonRow(cmdRestore, cmdCancel);
    QVBoxLayout *column = DialogControls::column(this, 8, instruction, lvwBackups);
    column->addLayout(buttons);
    resize(520, 380);

    connect(lvwBackups, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { cmdRestore->setEnabled(current != nullptr); });
    connect(lvwBackups, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(cmdRestore, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Each backup is read as though it stood where the library does, so that a
// definition file named relative to the library is found.
void frmRestoreBackup::fillList(const QString &libraryPath, const QList<LibraryBackups::Backup> &backups)
{
    const QLocale locale;
    for (const LibraryBackups::Backup &backup : backups) {
        auto *item = new QTreeWidgetItem(lvwBackups);
        item->setData(DateColumn, Qt::UserRole, backup.path);
        item->setText(DateColumn, whenText(backup));
        item->setText(SizeColumn, locale.formattedDataSize(backup.size, 1, QLocale::DataSizeTraditionalFormat));
        XmlDocument document = XmlDocument::create();
        if (document.load(backup.path, libraryPath)) {
            const XmlNode root = document.documentElement();
            item->setText(FoldersColumn, locale.toString(root.countElementsByTagName(QStringLiteral("FOLDER"))));
            item->setText(SitePinsColumn, locale.toString(root.countElementsByTagName(QStringLiteral("SITEPIN"))));
        } else {
            item->setText(FoldersColumn, QStringLiteral("damaged"));
            item->setToolTip(DateColumn, document.parseErrorReason());
        }
        for (int column : {SizeColumn, FoldersColumn, SitePinsColumn})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column : {SizeColumn, FoldersColumn, SitePinsColumn})
        lvwBackups->resizeColumnToContents(column);
    if (lvwBackups->topLevelItemCount() > 0)
        lvwBackups->setCurrentItem(lvwBackups->topLevelItem(0));
    lvwBackups->setFocus(Qt::OtherFocusReason);
}

QString frmRestoreBackup::chosenPath() const
{
    const QTreeWidgetItem *item = lvwBackups->currentItem();
    return item ? item->data(DateColumn, Qt::UserRole).toString() : QString();
}
