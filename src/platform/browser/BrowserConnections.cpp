#include "platform/browser/BrowserConnections.h"

namespace {

constexpr QChar kSeparator = QLatin1Char('|');

} // namespace

void BrowserConnections::add(std::unique_ptr<BrowserAutomation> backend)
{
    if (backend)
        m_backends.push_back(std::move(backend));
}

std::vector<ShellWindow> BrowserConnections::shellWindows(const QDeadlineTimer &deadline)
{
    std::vector<ShellWindow> all;
    for (std::size_t index = 0; index < m_backends.size(); ++index) {
        if (deadline.hasExpired())
            break;
        for (ShellWindow window : m_backends[index]->shellWindows(deadline)) {
            window.id = outerId(index, window.id);
            all.push_back(std::move(window));
        }
    }
    return all;
}

bool BrowserConnections::openWindow(const QString &address, QString *windowId)
{
    for (std::size_t index = 0; index < m_backends.size(); ++index) {
        QString inner;
        if (m_backends[index]->openWindow(address, &inner)) {
            if (windowId)
                *windowId = outerId(index, inner);
            return true;
        }
    }
    return false;
}

bool BrowserConnections::openBlankWindow(QString *windowId)
{
    for (std::size_t index = 0; index < m_backends.size(); ++index) {
        QString inner;
        if (m_backends[index]->openBlankWindow(&inner)) {
            if (windowId)
                *windowId = outerId(index, inner);
            return true;
        }
    }
    return false;
}

bool BrowserConnections::quit(const ShellWindow &window)
{
    std::size_t backend = 0;
    ShellWindow inner = window;
    if (!splitId(window.id, backend, inner.id))
        return false;
    return m_backends[backend]->quit(inner);
}

QString BrowserConnections::outerId(std::size_t backend, const QString &innerId)
{
    return QString::number(backend) + kSeparator + innerId;
}

bool BrowserConnections::splitId(const QString &outer, std::size_t &backend, QString &innerId) const
{
    const qsizetype separator = outer.indexOf(kSeparator);
    if (separator <= 0)
        return false;
    bool ok = false;
    const qulonglong index = outer.left(separator).toULongLong(&ok);
    if (!ok || index >= m_backends.size())
        return false;
    backend = std::size_t(index);
    innerId = outer.mid(separator + 1);
    return true;
}
