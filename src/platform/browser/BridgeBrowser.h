#pragma once

#include "platform/browser/BridgeExchange.h"
#include "platform/browser/BrowserAutomation.h"

#include <QJsonObject>
#include <QString>

#include <vector>

// The browsers connected through the SitePins bridge: every browser running
// the bridge extension has started a host, and each host listens on a socket
// of its own in the bridge folder. Nothing is remembered between calls: the
// folder is read afresh each time, so browsers that start or quit while the
// program runs are found or dropped by the next call, and a socket whose
// host has died is removed when it refuses a connection.
class BridgeBrowser : public BrowserAutomation
{
public:
    static constexpr int kDefaultCommandTimeoutMs = 2000;

    // An empty folder (the bridge folder could not be had) finds no browser.
    explicit BridgeBrowser(const QString &folder);

    std::vector<ShellWindow> shellWindows(const QDeadlineTimer &deadline) override;
    bool openWindow(const QString &address, QString *windowId = nullptr) override;
    bool openBlankWindow(QString *windowId = nullptr) override;
    bool quit(const ShellWindow &window) override;

    // How long opening or closing waits for the browser.
    void setCommandTimeout(int ms) { m_commandTimeoutMs = ms; }

private:
    struct Host
    {
        qint64 pid = 0;
        QString socketPath;
    };

    std::vector<Host> hosts() const;
    std::vector<BridgeExchange::Result> ask(const std::vector<Host> &hosts, const QJsonObject &request,
                                            const QDeadlineTimer &deadline);
    std::vector<Host> byRecentFocus(const std::vector<Host> &hosts);
    bool open(const QJsonObject &request, QString *windowId);

    QString m_folder;
    int m_commandTimeoutMs = kDefaultCommandTimeoutMs;
};
