#include "platform/browser/BridgeBrowser.h"

#include "platform/browser/BridgeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>

#include <algorithm>

namespace {

// Asking which browser the user used last is answered by the hosts
// themselves, without a round trip to the browser.
constexpr int kStatusTimeoutMs = 300;

QString tabName(qint64 pid, qint64 tabId)
{
    return QStringLiteral("%1:%2").arg(pid).arg(tabId);
}

ShellWindow shellWindowOf(qint64 pid, const QJsonObject &tab)
{
    ShellWindow window;
    window.id = tabName(pid, tab.value(QStringLiteral("id")).toInteger());
    window.locationUrl = tab.value(QStringLiteral("url")).toString();
    window.locationName = ShellWindow::shortNameOf(window.locationUrl);
    window.documentTitle = tab.value(QStringLiteral("title")).toString();
    window.isWebBrowser = ShellWindow::isWebAddress(window.locationUrl);
    return window;
}

// The window's tabs in tab order, its active tab moved to the front.
void appendWindow(std::vector<ShellWindow> &windows, qint64 pid, const QJsonArray &tabs)
{
    const auto active = std::find_if(tabs.begin(), tabs.end(), [](const QJsonValue &tab) {
        return tab.toObject().value(QStringLiteral("active")).toBool();
    });
    if (active != tabs.end())
        windows.push_back(shellWindowOf(pid, active->toObject()));
    for (auto tab = tabs.begin(); tab != tabs.end(); ++tab) {
        if (tab != active)
            windows.push_back(shellWindowOf(pid, tab->toObject()));
    }
}

bool succeeded(const BridgeExchange::Result &result)
{
    return result.outcome == BridgeExchange::Outcome::Replied && result.reply.value(QStringLiteral("ok")).toBool();
}

} // namespace

BridgeBrowser::BridgeBrowser(const QString &folder)
    : m_folder(folder)
{
}

std::vector<BridgeBrowser::Host> BridgeBrowser::hosts() const
{
    if (m_folder.isEmpty())
        return {};
    // Oldest first: with no better sign, the browser that has run longest is
    // the one the user knows as theirs.
    const QFileInfoList entries = QDir(m_folder).entryInfoList(
        {QStringLiteral("host-*.socket")}, QDir::System | QDir::NoSymLinks, QDir::Time | QDir::Reversed);
    std::vector<Host> found;
    for (const QFileInfo &entry : entries) {
        if (const auto pid = BridgeFolder::hostPidOf(entry.fileName()))
            found.push_back({*pid, entry.filePath()});
    }
    return found;
}

std::vector<BridgeExchange::Result> BridgeBrowser::ask(const std::vector<Host> &hosts, const QJsonObject &request,
                                                       const QDeadlineTimer &deadline)
{
    std::vector<QString> paths;
    for (const Host &host : hosts)
        paths.push_back(host.socketPath);
    auto results = BridgeExchange::run(paths, std::vector<QJsonObject>(hosts.size(), request), deadline);
    for (size_t i = 0; i < hosts.size(); ++i) {
        // Only the files hosts() named: ours by name, in our own folder.
        if (results[i].outcome == BridgeExchange::Outcome::Refused)
            QFile::remove(hosts[i].socketPath);
    }
    return results;
}

std::vector<ShellWindow> BridgeBrowser::shellWindows(const QDeadlineTimer &deadline)
{
    const std::vector<Host> all = hosts();
    const auto results = ask(all, {{QStringLiteral("cmd"), QStringLiteral("list")}}, deadline);
    std::vector<ShellWindow> windows;
    for (size_t i = 0; i < all.size(); ++i) {
        if (!succeeded(results[i]))
            continue;
        for (const QJsonValue &window : results[i].reply.value(QStringLiteral("windows")).toArray())
            appendWindow(windows, all[i].pid, window.toObject().value(QStringLiteral("tabs")).toArray());
    }
    return windows;
}

std::vector<BridgeBrowser::Host> BridgeBrowser::byRecentFocus(const std::vector<Host> &hosts)
{
    if (hosts.size() < 2)
        return hosts;
    const auto results =
        ask(hosts, {{QStringLiteral("cmd"), QStringLiteral("status")}}, QDeadlineTimer(kStatusTimeoutMs));
    // Hosts too slow to say are kept, after the others, in their own order.
    std::vector<std::pair<qint64, Host>> ranked;
    for (size_t i = 0; i < hosts.size(); ++i) {
        if (results[i].outcome != BridgeExchange::Outcome::Refused)
            ranked.emplace_back(results[i].reply.value(QStringLiteral("focusedAt")).toInteger(-1), hosts[i]);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto &left, const auto &right) { return left.first > right.first; });
    std::vector<Host> ordered;
    for (const auto &entry : ranked)
        ordered.push_back(entry.second);
    return ordered;
}

bool BridgeBrowser::open(const QJsonObject &request, QString *windowId)
{
    for (const Host &host : byRecentFocus(hosts())) {
        const auto result = ask({host}, request, QDeadlineTimer(m_commandTimeoutMs)).front();
        if (succeeded(result)) {
            if (windowId)
                *windowId = tabName(host.pid, result.reply.value(QStringLiteral("tabId")).toInteger());
            return true;
        }
        // A browser that said no (Firefox will not open file: addresses) lets
        // the next one try; one that did not answer in time may still open
        // the window, and a second browser doing the same would be one too many.
        if (result.outcome == BridgeExchange::Outcome::NoReply)
            return false;
    }
    return false;
}

bool BridgeBrowser::openWindow(const QString &address, QString *windowId)
{
    return open({{QStringLiteral("cmd"), QStringLiteral("open")}, {QStringLiteral("url"), address}}, windowId);
}

bool BridgeBrowser::openBlankWindow(QString *windowId)
{
    return open({{QStringLiteral("cmd"), QStringLiteral("openBlank")}}, windowId);
}

bool BridgeBrowser::quit(const ShellWindow &window)
{
    const QStringList parts = window.id.split(QLatin1Char(':'));
    bool pidOk = false;
    bool tabOk = false;
    const qint64 pid = parts.value(0).toLongLong(&pidOk);
    const qint64 tabId = parts.value(1).toLongLong(&tabOk);
    if (parts.size() != 2 || !pidOk || pid <= 0 || !tabOk || m_folder.isEmpty())
        return false;
    const Host host{pid, QDir(m_folder).filePath(BridgeFolder::hostSocketName(pid))};
    const QJsonObject request{{QStringLiteral("cmd"), QStringLiteral("close")}, {QStringLiteral("tabId"), tabId}};
    return succeeded(ask({host}, request, QDeadlineTimer(m_commandTimeoutMs)).front());
}
