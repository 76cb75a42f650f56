#pragma once

#include "platform/browser/BrowserAutomation.h"

#include <QList>

#include <optional>

// Browsers started with --remote-debugging-port, reached through their
// debugging endpoints on 127.0.0.1: the page targets are the tabs. The ports
// come from the DevToolsPorts setting (none by default), read afresh at each
// call so a changed setting needs no restart, or are given outright.
class DevToolsBrowser : public BrowserAutomation
{
public:
    static constexpr const char *kKeyPath = "Software\\KelvaneSoft\\SitePins\\";
    static constexpr const char *kValueName = "DevToolsPorts";
    // Opening and closing are answered at once by a live browser; a hung one
    // must not hold the window longer than this.
    static constexpr int kCommandTimeoutMs = 1500;

    DevToolsBrowser() = default;
    explicit DevToolsBrowser(const QList<quint16> &ports);

    // Port numbers separated by commas or blanks; anything else is skipped,
    // and so is a port given twice.
    static QList<quint16> parsePorts(const QString &text);
    static QList<quint16> portsFromSetting();
    QList<quint16> ports() const;

    std::vector<ShellWindow> shellWindows(const QDeadlineTimer &deadline) override;
    // The first port, in order, that opens the page gets it.
    bool openWindow(const QString &address, QString *windowId = nullptr) override;
    bool openBlankWindow(QString *windowId = nullptr) override;
    bool quit(const ShellWindow &window) override;

private:
    bool openTarget(const QByteArray &query, QString *windowId);
    static std::vector<ShellWindow> pagesOf(quint16 port, const QByteArray &json);

    std::optional<QList<quint16>> m_ports;
};
