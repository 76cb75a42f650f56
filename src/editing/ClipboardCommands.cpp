#include "editing/ClipboardCommands.h"

#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XMLDatabase.h"

#include <QClipboard>
#include <QGuiApplication>

ClipboardCommands::ClipboardCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    CommandRouter &router = window.commands();
    router.on(QStringLiteral("mnuEditClipSP"), [this] { mnuEditClipSP_Click(); });
    router.on(QStringLiteral("mnuEditClipName"), [this] { mnuEditClipName_Click(); });
    router.on(QStringLiteral("mnuEditClipURL"), [this] { mnuEditClipURL_Click(); });
    router.on(QStringLiteral("mnuEditClipDesc"), [this] { mnuEditClipDesc_Click(); });
    router.on(QStringLiteral("mnuEditClipNotes"), [this] { mnuEditClipNotes_Click(); });
}

void ClipboardCommands::mnuEditClipSP_Click()
{
    copy(&XMLDatabase::getSPAsFormattedString);
}

void ClipboardCommands::mnuEditClipName_Click()
{
    copy(&XMLDatabase::getSPName);
}

void ClipboardCommands::mnuEditClipURL_Click()
{
    copy(&XMLDatabase::getSPAddress);
}

void ClipboardCommands::mnuEditClipDesc_Click()
{
    copy(&XMLDatabase::getSPDescription);
}

void ClipboardCommands::mnuEditClipNotes_Click()
{
    copy(&XMLDatabase::getSPNotes);
}

// Without a SitePin of this library to copy, the clipboard keeps what it
// holds rather than receive empty labels.
void ClipboardCommands::copy(Accessor accessor)
{
    const QString wid = m_window.ui().txtWID->text();
    XMLDatabase &database = m_window.getMyDB();
    if (wid.isEmpty() || database.getTheDOM().nodeFromID(wid).nodeName() != QLatin1String("SITEPIN"))
        return;
    const QString text = (database.*accessor)(wid);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
