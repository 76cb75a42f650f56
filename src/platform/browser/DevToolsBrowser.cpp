#include "platform/browser/DevToolsBrowser.h"

#include "platform/RegistryFunctions.h"
#include "platform/browser/LoopbackHttpClient.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QUrl>

#include <algorithm>

namespace {

const QByteArray kListTarget = "/json/list";
const QByteArray kNewTarget = "/json/new?";
const QByteArray kCloseTarget = "/json/close/";
constexpr char16_t kIdSeparator = u':';
// Longer than any entity worth decoding ("#x10FFFF").
constexpr qsizetype kMaxEntityLength = 8;

QString namedEntity(QStringView name)
{
    static const std::pair<const char16_t *, char16_t> named[] = {
        {u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''}};
    for (const auto &[entity, character] : named) {
        if (name == QStringView(entity))
            return QString(QChar(character));
    }
    return {};
}

QString numericEntity(QStringView digits)
{
    const bool hex = digits.startsWith(u'x') || digits.startsWith(u'X');
    const QStringView number = hex ? digits.mid(1) : digits;
    const auto isDigit = [hex](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (hex && ((u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F')));
    };
    if (number.isEmpty() || !std::all_of(number.begin(), number.end(), isDigit))
        return {};
    bool ok = false;
    const uint code = number.toUInt(&ok, hex ? 16 : 10);
    // A NUL, a lone surrogate or a number past Unicode stays as written.
    if (!ok || code == 0 || QChar::isSurrogate(code) || code > QChar::LastValidCodePoint)
        return {};
    const char32_t character = code;
    return QString::fromUcs4(&character, 1);
}

QString entity(QStringView name)
{
    if (name.startsWith(u'#'))
        return numericEntity(name.mid(1));
    return namedEntity(name);
}

// The endpoints list titles HTML-escaped. One pass, so "&amp;lt;" is "&lt;";
// an '&' that starts no known entity is kept as it is.
QString unescapeTitle(const QString &title)
{
    const QStringView source(title);
    QString text;
    text.reserve(title.size());
    qsizetype at = 0;
    while (at < source.size()) {
        const qsizetype amp = source.indexOf(u'&', at);
        if (amp < 0) {
            text += source.mid(at);
            break;
        }
        text += source.mid(at, amp - at);
        const qsizetype nameLength = source.mid(amp + 1, kMaxEntityLength + 1).indexOf(u';');
        const QString decoded = nameLength < 0 ? QString() : entity(source.mid(amp + 1, nameLength));
        if (decoded.isEmpty()) {
            text += u'&';
            at = amp + 1;
        } else {
            text += decoded;
            at = amp + 1 + nameLength + 1;
        }
    }
    return text;
}

ShellWindow shellWindowOf(quint16 port, const QJsonObject &target)
{
    const QString url = target.value(QLatin1String("url")).toString();
    ShellWindow window;
    window.id = QString::number(port) + QChar(kIdSeparator) + target.value(QLatin1String("id")).toString();
    window.locationUrl = url;
    window.locationName = ShellWindow::shortNameOf(url);
    window.documentTitle = unescapeTitle(target.value(QLatin1String("title")).toString());
    window.isWebBrowser = ShellWindow::isWebAddress(url);
    return window;
}

QDeadlineTimer commandDeadline()
{
    return QDeadlineTimer(DevToolsBrowser::kCommandTimeoutMs);
}

} // namespace

DevToolsBrowser::DevToolsBrowser(const QList<quint16> &ports)
    : m_ports(ports)
{
}

QList<quint16> DevToolsBrowser::parsePorts(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    QList<quint16> ports;
    for (const QString &part : text.split(separators, Qt::SkipEmptyParts)) {
        bool isNumber = false;
        const uint port = part.toUInt(&isNumber);
        if (isNumber && port > 0 && port <= 65535 && !ports.contains(quint16(port)))
            ports.append(quint16(port));
    }
    return ports;
}

QList<quint16> DevToolsBrowser::portsFromSetting()
{
    const QVariant value = RegistryFunctions::getRegistryValue(
        RegistryRoot::HKEY_CURRENT_USER, QString::fromLatin1(kKeyPath), QString::fromLatin1(kValueName));
    return parsePorts(value.toString());
}

QList<quint16> DevToolsBrowser::ports() const
{
    return m_ports ? *m_ports : portsFromSetting();
}

std::vector<ShellWindow> DevToolsBrowser::shellWindows(const QDeadlineTimer &deadline)
{
    std::vector<ShellWindow> windows;
    for (const quint16 port : ports()) {
        const auto reply = LoopbackHttpClient::request(port, "GET", kListTarget, deadline);
        if (!reply || reply->statusCode != 200)
            continue;
        std::vector<ShellWindow> pages = pagesOf(port, reply->body);
        windows.insert(windows.end(), pages.begin(), pages.end());
    }
    return windows;
}

bool DevToolsBrowser::openWindow(const QString &address, QString *windowId)
{
    // The whole address goes into the query, encoded, or its own '?', '&' and
    // '#' would be taken as the request's.
    return openTarget(QUrl::toPercentEncoding(address), windowId);
}

bool DevToolsBrowser::openBlankWindow(QString *windowId)
{
    return openTarget("about:blank", windowId);
}

bool DevToolsBrowser::quit(const ShellWindow &window)
{
    const qsizetype separator = window.id.indexOf(kIdSeparator);
    if (separator <= 0)
        return false;
    bool isNumber = false;
    const uint port = window.id.first(separator).toUInt(&isNumber);
    const QString targetId = window.id.mid(separator + 1);
    if (!isNumber || targetId.isEmpty() || !ports().contains(quint16(port)))
        return false;
    const auto reply = LoopbackHttpClient::request(quint16(port), "GET",
                                                   kCloseTarget + QUrl::toPercentEncoding(targetId), commandDeadline());
    return reply && reply->statusCode == 200;
}

// Newer Chromium refuses to open a target on GET.
bool DevToolsBrowser::openTarget(const QByteArray &query, QString *windowId)
{
    const QDeadlineTimer deadline = commandDeadline();
    for (const quint16 port : ports()) {
        const auto reply = LoopbackHttpClient::request(port, "PUT", kNewTarget + query, deadline);
        if (!reply || reply->statusCode != 200)
            continue;
        const QJsonObject target = QJsonDocument::fromJson(reply->body).object();
        const QString id = target.value(QLatin1String("id")).toString();
        if (id.isEmpty())
            continue;
        if (windowId)
            *windowId = QString::number(port) + QChar(kIdSeparator) + id;
        return true;
    }
    return false;
}

std::vector<ShellWindow> DevToolsBrowser::pagesOf(quint16 port, const QByteArray &json)
{
    std::vector<ShellWindow> pages;
    const QJsonArray targets = QJsonDocument::fromJson(json).array();
    for (const QJsonValue &value : targets) {
        const QJsonObject target = value.toObject();
        if (target.value(QLatin1String("type")).toString() != QLatin1String("page") ||
            target.value(QLatin1String("id")).toString().isEmpty())
            continue;
        pages.push_back(shellWindowOf(port, target));
    }
    return pages;
}
