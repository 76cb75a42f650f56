#include "browser/BrowserWindows.h"

#include "browser/frmSitePinDialog.h"
#include "editing/SitePinEditor.h"
#include "layout/HoverHelp.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/browser/BrowserAutomation.h"
#include "platform/ui/DesktopServices.h"
#include "store/XMLDatabase.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QUrl>

BrowserWindows::BrowserWindows(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    CommandRouter &commands = window.commands();
    commands.on(QStringLiteral("mnuToolsGet"), [this] { mnuToolsGet_Click(); });
    commands.on(QStringLiteral("timerCapture"), [this] { captureOnTimer(); });
    commands.on(QStringLiteral("startupCapture"), [this] { captureAtStartup(); });
    commands.on(QStringLiteral("mnuToolsOpen"), [this] { mnuToolsOpen_Click(); });
    commands.on(QStringLiteral("mnuOpenSP"), [this] { mnuOpenSP_Click(); });
    commands.on(QStringLiteral("mnuToolsOpenBlank"), [this] { mnuToolsOpenBlank_Click(); });
    commands.on(QStringLiteral("mnuToolsCloseAll"), [this] { mnuToolsCloseAll_Click(); });
    window.ui().lblAddress->installEventFilter(this);
}

BrowserAutomation *BrowserWindows::browsers() const
{
    return m_window.environment().browsers;
}

void BrowserWindows::detectBrowserWindows()
{
    detectedCount = 0;
    detectedNames.clear();
    detectedAddresses.clear();
    if (!browsers())
        return;
    // However many browsers answer, the whole detection keeps to one deadline.
    const QDeadlineTimer deadline(m_window.environment().browserDetectionMs);
    for (const ShellWindow &shown : browsers()->shellWindows(deadline)) {
        if (shown.locationUrl.isEmpty() || !shown.isWebBrowser)
            continue;
        const QString name = shown.documentTitle.isEmpty() ? shown.locationName : shown.documentTitle;
        // The list and the dialog count in 16 bits.
        if (detectedCount == std::numeric_limits<qint16>::max())
            break;
        ++detectedCount;
        detectedNames.append(name);
        detectedAddresses.append(QString(shown.locationUrl).replace(QLatin1String("%20"), QLatin1String(" ")));
    }
}

void BrowserWindows::mnuToolsGet_Click()
{
    detectBrowserWindows();
    if (detectedCount == 0) {
        m_window.message(QStringLiteral("No Internet Explorer windows are open"),
                         QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok, MessageIcon::Information);
        return;
    }
    if (detectedCount == 1) {
        takeTheOnlyWindow();
        return;
    }
    showCaptureDialog();
}

void BrowserWindows::captureOnTimer()
{
    detectBrowserWindows();
    if (detectedCount == 0)
        return;
    if (detectedCount == 1) {
        takeTheOnlyWindow();
        return;
    }
    showCaptureDialog();
    m_window.editor().addSitePinFromCapture();
}

// The dialog is offered even for one page: the program was started for
// some other reason than to capture it.
void BrowserWindows::captureAtStartup()
{
    detectBrowserWindows();
    if (detectedCount == 0)
        return;
    m_window.hideSplash();
    showCaptureDialog();
}

// An edit still open is not thrown away without asking.
void BrowserWindows::takeTheOnlyWindow()
{
    if (!m_window.confirmDiscardChanges())
        return;
    SitePinEditor &editor = m_window.editor();
    editor.capturedAddress = detectedAddresses.value(0);
    editor.capturedName = detectedNames.value(0);
    editor.addSitePinSetup(QStringLiteral("browser"));
}

void BrowserWindows::showCaptureDialog()
{
    frmSitePinDialog dialog(m_window, detectedNames, detectedAddresses);
    dialog.exec();
}

void BrowserWindows::mnuToolsOpen_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    if (ui.lblWName->caption().compare(QLatin1String(DetailPanel::kNoSitePinSelected), Qt::CaseInsensitive) == 0) {
        m_window.message(QStringLiteral("A SitePin must be selected to open in the browser window"));
        return;
    }
    openAddress(ui.txtAddress->text());
}

void BrowserWindows::lblAddress_Click()
{
    if (m_window.ui().lblAddress->text().isEmpty())
        return;
    mnuToolsOpen_Click();
    m_window.hoverHelp().showAddressRestLook();
}

void BrowserWindows::mnuOpenSP_Click()
{
    const QString tag = m_window.m_objClickedNode.data(TreeNode::TagRole).toString().trimmed();
    const QString address = tag.isEmpty() ? QString() : m_window.getMyDB().getSPAddress(tag);
    openAddress(address);
}

void BrowserWindows::mnuToolsOpenBlank_Click()
{
    if (browsers() && browsers()->openBlankWindow(&m_objBrowser))
        return;
    m_objBrowser.clear();
    m_window.environment().desktop->openDefaultBrowser();
}

void BrowserWindows::mnuToolsCloseAll_Click()
{
    if (!browsers())
        return;
    const std::vector<ShellWindow> windows =
        browsers()->shellWindows(QDeadlineTimer(m_window.environment().browserDetectionMs));
    for (auto shown = windows.rbegin(); shown != windows.rend(); ++shown) {
        if (shown->isWebBrowser)
            browsers()->quit(*shown);
    }
}

// An address typed without a scheme ("example.org") is what a user would
// type into a browser's address bar, and is opened as such.
void BrowserWindows::openAddress(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        mnuToolsOpenBlank_Click();
        return;
    }
    const QUrl url = QUrl::fromUserInput(trimmed);
    const QString target = url.isValid() ? url.toString(QUrl::FullyEncoded) : trimmed;
    if (browsers() && browsers()->openWindow(target, &m_objBrowser))
        return;
    m_objBrowser.clear();
    m_window.environment().desktop->openUrl(url);
}

bool BrowserWindows::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.ui().lblAddress && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        lblAddress_Click();
    return QObject::eventFilter(watched, event);
}
