#pragma once

#include "platform/browser/BrowserAutomation.h"

#include <memory>
#include <vector>

// Every way the program has of reaching browsers, asked as one: the tabs
// of all of them, in the order the backends were added; a new window in the
// first backend that takes it.
class BrowserConnections : public BrowserAutomation
{
public:
    void add(std::unique_ptr<BrowserAutomation> backend);
    bool isEmpty() const { return m_backends.empty(); }

    std::vector<ShellWindow> shellWindows(const QDeadlineTimer &deadline) override;
    bool openWindow(const QString &address, QString *windowId = nullptr) override;
    bool openBlankWindow(QString *windowId = nullptr) override;
    bool quit(const ShellWindow &window) override;

private:
    // A listed tab's id carries the index of the backend that listed it, so
    // that quit() reaches the same one.
    static QString outerId(std::size_t backend, const QString &innerId);
    bool splitId(const QString &outer, std::size_t &backend, QString &innerId) const;

    std::vector<std::unique_ptr<BrowserAutomation>> m_backends;
};
