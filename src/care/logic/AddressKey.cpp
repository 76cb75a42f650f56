#include "care/logic/AddressKey.h"

#include <QString>

#include <algorithm>

namespace {

// Matched in lower case; names ending in '_' are prefixes.
constexpr QByteArrayView kTrackingParameters[] = {
    "utm_",    "fbclid",    "gclid",      "gclsrc",  "dclid",         "gbraid",  "wbraid",      "msclkid",
    "mc_cid",  "mc_eid",    "yclid",      "igshid",  "twclid",        "ttclid",  "li_fat_id",   "_hsenc",
    "_hsmi",   "__hssc",    "__hstc",     "__hsfp",  "hsctatracking", "mkt_tok", "oly_anon_id", "oly_enc_id",
    "vero_id", "vero_conv", "rb_clickid", "s_kwcid", "ef_id",         "_gl",     "srsltid",     "wickedid",
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

bool isAlpha(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

void appendLowered(QByteArray &out, QByteArrayView text)
{
    const qsizetype at = out.size();
    out.append(text);
    char *lowered = out.data() + at;
    for (qsizetype i = 0; i < text.size(); ++i)
        lowered[i] = lower(lowered[i]);
}

// An international name has letters beyond ASCII, lowered as Unicode says.
void appendLoweredHost(QByteArray &out, QByteArrayView host)
{
    const bool ascii = std::all_of(host.begin(), host.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii)
        appendLowered(out, host);
    else
        out.append(QString::fromUtf8(host).toLower().toUtf8());
}

bool equalsLowered(QByteArrayView text, QByteArrayView lowerText)
{
    if (text.size() != lowerText.size())
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (lower(text[i]) != lowerText[i])
            return false;
    }
    return true;
}

// Where the scheme's ':' is, or -1 when the text starts with no scheme.
qsizetype schemeEnd(QByteArrayView text)
{
    if (text.isEmpty() || !isAlpha(text.front()))
        return -1;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ':')
            return i;
        if (!isAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.')
            return -1;
    }
    return -1;
}

QByteArrayView defaultPortOf(QByteArrayView scheme)
{
    if (equalsLowered(scheme, "http") || equalsLowered(scheme, "ws"))
        return "80";
    if (equalsLowered(scheme, "https") || equalsLowered(scheme, "wss"))
        return "443";
    if (equalsLowered(scheme, "ftp"))
        return "21";
    return {};
}

// Where the first of the characters is, or the end.
template<char... Stops>
qsizetype firstOf(QByteArrayView text)
{
    const char *data = text.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = data[i];
        if (((c == Stops) || ...))
            return i;
    }
    return text.size();
}

// Host in lower case, port only when it is not the scheme's own.
void appendAuthority(QByteArray &out, QByteArrayView authority, QByteArrayView scheme)
{
    const qsizetype at = authority.lastIndexOf('@');
    if (at >= 0) {
        out.append(authority.first(at + 1));
        authority = authority.sliced(at + 1);
    }
    // An IPv6 literal holds colons of its own.
    const qsizetype hostEnd =
        authority.startsWith('[') ? std::min(authority.indexOf(']') + 1, authority.size()) : firstOf<':'>(authority);
    const QByteArrayView host = hostEnd > 0 ? authority.first(hostEnd) : QByteArrayView(authority);
    appendLoweredHost(out, host);
    QByteArrayView port = authority.sliced(host.size());
    if (port.startsWith(':'))
        port = port.sliced(1);
    if (!port.isEmpty() && port != defaultPortOf(scheme))
        out.append(':').append(port);
}

// The parameters that are left, in their order; no "?" when none is.
void appendQuery(QByteArray &out, QByteArrayView query)
{
    bool first = true;
    while (!query.isEmpty()) {
        const qsizetype end = firstOf<'&'>(query);
        const QByteArrayView parameter = query.first(end);
        query = end < query.size() ? query.sliced(end + 1) : QByteArrayView();
        if (parameter.isEmpty() || AddressKey::isTrackingParameter(parameter.first(firstOf<'='>(parameter))))
            continue;
        out.append(first ? '?' : '&').append(parameter);
        first = false;
    }
}

// "#!/inbox" and "#/settings" name pages of a web application rather than
// places on one page: such addresses are different pages.
bool namesAPage(QByteArrayView fragment)
{
    return fragment.startsWith('!') || fragment.startsWith('/');
}

} // namespace

bool AddressKey::isTrackingParameter(QByteArrayView name)
{
    for (const QByteArrayView tracking : kTrackingParameters) {
        if (tracking.endsWith('_')
                ? name.size() > tracking.size() && equalsLowered(name.first(tracking.size()), tracking)
                : equalsLowered(name, tracking))
            return true;
    }
    return false;
}

AddressKey AddressKey::of(QByteArrayView address)
{
    AddressKey result;
    const QByteArrayView text = trimmed(address);
    if (text.isEmpty())
        return result;
    const qsizetype colon = schemeEnd(text);
    QByteArray scheme;
    if (colon > 0)
        appendLowered(scheme, text.first(colon));
    result.m_scheme = colon < 0           ? Scheme::None
                      : scheme == "http"  ? Scheme::Http
                      : scheme == "https" ? Scheme::Https
                                          : Scheme::Other;
    QByteArrayView rest = colon < 0 ? text : text.sliced(colon + 1);
    QByteArray &key = result.m_key;
    key.reserve(text.size());
    if (!result.isWeb() && colon > 0)
        key.append(scheme).append(':');
    if (colon < 0 || !rest.startsWith("//")) {
        key.append(rest);
        return result;
    }
    rest = rest.sliced(2);
    const qsizetype authorityEnd = firstOf<'/', '?', '#'>(rest);
    key.append("//");
    appendAuthority(key, rest.first(authorityEnd), scheme);
    rest = rest.sliced(authorityEnd);
    const qsizetype pathEnd = firstOf<'?', '#'>(rest);
    key.append(pathEnd == 0 ? QByteArrayView("/") : rest.first(pathEnd));
    rest = rest.sliced(pathEnd);
    const qsizetype queryEnd = firstOf<'#'>(rest);
    if (rest.startsWith('?'))
        appendQuery(key, rest.sliced(1, queryEnd - 1));
    const QByteArrayView fragment = rest.sliced(std::min(queryEnd + 1, rest.size()));
    if (namesAPage(fragment))
        key.append('#').append(fragment);
    return result;
}

QString AddressKey::normalised() const
{
    switch (m_scheme) {
    case Scheme::Http:
        return QStringLiteral("http:") + QString::fromUtf8(m_key);
    case Scheme::Https:
        return QStringLiteral("https:") + QString::fromUtf8(m_key);
    default:
        return QString::fromUtf8(m_key);
    }
}
