#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class BrowserAutomation;
class frmSitePins;

// The browser windows beside the program: capturing the page one of them
// shows as a new SitePin, opening SitePins and blank windows, closing them
// all. The browsers themselves are reached through BrowserAutomation; with
// none connected, pages open in the desktop's default browser.
class BrowserWindows : public QObject
{
    Q_OBJECT

public:
    explicit BrowserWindows(frmSitePins &window);

    // What the last detection found: entry n of each list is one page.
    QStringList detectedNames;
    QStringList detectedAddresses;
    qint16 detectedCount = 0;
    // The window the program opened last; earlier ones are not tracked.
    QString m_objBrowser;

    void detectBrowserWindows();

    void mnuToolsGet_Click();
    void captureOnTimer();
    void captureAtStartup();
    void mnuToolsOpen_Click();
    void lblAddress_Click();
    void mnuOpenSP_Click();
    void mnuToolsOpenBlank_Click();
    void mnuToolsCloseAll_Click();
    // A new browser window on the address, kept as the last one opened; the
    // desktop's default browser when no browser is connected.
    void openAddress(const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void takeTheOnlyWindow();
    void showCaptureDialog();
    BrowserAutomation *browsers() const;

    frmSitePins &m_window;
};
