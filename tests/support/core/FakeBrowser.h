#pragma once

#include "platform/browser/BrowserAutomation.h"

#include <QStringList>

// Browsers as a test wants them: the tabs it lists, and a record of what
// the program asked of them.
class FakeBrowser : public BrowserAutomation
{
public:
    std::vector<ShellWindow> windows;
    // False: no browser is connected, so nothing opens here.
    bool connected = true;
    QStringList openedAddresses;
    int blankWindowsOpened = 0;
    QStringList quitIds;
    int listings = 0;

    // A web page in a browser tab.
    ShellWindow &addPage(const QString &title, const QString &address, const QString &shortName = QString())
    {
        return add({QStringLiteral("tab%1").arg(windows.size() + 1), address, shortName, title, true});
    }
    ShellWindow &add(const ShellWindow &window)
    {
        windows.push_back(window);
        return windows.back();
    }

    std::vector<ShellWindow> shellWindows(const QDeadlineTimer &) override
    {
        ++listings;
        return windows;
    }
    bool openWindow(const QString &address, QString *windowId) override
    {
        if (!connected)
            return false;
        openedAddresses.append(address);
        if (windowId)
            *windowId = QStringLiteral("opened%1").arg(openedAddresses.size());
        return true;
    }
    bool openBlankWindow(QString *windowId) override
    {
        if (!connected)
            return false;
        ++blankWindowsOpened;
        if (windowId)
            *windowId = QStringLiteral("blank%1").arg(blankWindowsOpened);
        return true;
    }
    bool quit(const ShellWindow &window) override
    {
        quitIds.append(window.id);
        std::erase_if(windows, [&](const ShellWindow &open) { return open.id == window.id; });
        return true;
    }
};
