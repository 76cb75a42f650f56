#pragma once

#include "platform/browser/ShellWindow.h"

#include <QDeadlineTimer>
#include <QString>

#include <vector>

// What the program needs of the web browsers running beside it: the open
// tabs, a new window on an address or blank, and closing a tab. Backends
// talk to real browsers; tests hand in a fake.
class BrowserAutomation
{
public:
    virtual ~BrowserAutomation() = default;

    // Every tab of every connected browser, in each browser's window order
    // and then tab order, the active tab of each window first. Gives up on
    // a browser that has not answered by the deadline.
    virtual std::vector<ShellWindow> shellWindows(const QDeadlineTimer &deadline) = 0;
    // A new browser window on the address. False when no browser took it;
    // windowId, when given, receives a name for the window that was opened.
    virtual bool openWindow(const QString &address, QString *windowId = nullptr) = 0;
    virtual bool openBlankWindow(QString *windowId = nullptr) = 0;
    // Closes the tab that shellWindows() listed.
    virtual bool quit(const ShellWindow &window) = 0;
};
