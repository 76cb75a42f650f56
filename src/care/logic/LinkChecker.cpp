#include "care/logic/LinkChecker.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

// Enough to tell that the page is there, little enough to cost nothing.
constexpr const char *kSmallRange = "bytes=0-1023";

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool isWebUrl(const QUrl &url)
{
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

// How servers that do not do HEAD say so: by status, or by dropping the
// connection.
bool refusesHead(int status)
{
    return status == 405 || status == 501;
}

bool refusesHead(QNetworkReply::NetworkError error)
{
    return error == QNetworkReply::RemoteHostClosedError || error == QNetworkReply::UnknownNetworkError ||
           error == QNetworkReply::ProtocolFailure;
}

LinkOutcome outcomeOfError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return LinkOutcome::NoSuchHost;
    case QNetworkReply::ConnectionRefusedError:
        return LinkOutcome::Refused;
    case QNetworkReply::TimeoutError:
        return LinkOutcome::Timeout;
    case QNetworkReply::SslHandshakeFailedError:
        return LinkOutcome::TlsError;
    default:
        return LinkOutcome::OtherError;
    }
}

LinkOutcome outcomeOfStatus(int status)
{
    if (status == 404)
        return LinkOutcome::NotFound;
    if (status == 410)
        return LinkOutcome::Gone;
    if (status >= 500 && status <= 599)
        return LinkOutcome::ServerError;
    return LinkOutcome::OtherError;
}

} // namespace

LinkChecker::LinkChecker(QObject *parent)
    : LinkChecker(Settings(), parent)
{
}

LinkChecker::LinkChecker(const Settings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_network(new QNetworkAccessManager(this))
{
    m_network->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

LinkChecker::~LinkChecker()
{
    dropAllRequests();
}

QByteArray LinkChecker::defaultUserAgent()
{
    return QByteArrayLiteral("SitePinsManager/" SITEPINS_VERSION " (SitePins Manager link check)");
}

bool LinkChecker::isCheckable(const QString &address)
{
    const QString trimmed = address.trimmed();
    return trimmed.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           trimmed.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

void LinkChecker::start(const std::vector<Link> &links)
{
    dropAllRequests();
    m_checks.clear();
    m_checks.reserve(links.size());
    m_done = 0;
    m_running = true;
    for (const Link &link : links) {
        Check check;
        check.result.id = link.id;
        check.result.address = link.address;
        check.url = QUrl(link.address.trimmed(), QUrl::StrictMode);
        m_checks.push_back(std::move(check));
        enqueue(int(m_checks.size()) - 1, false);
    }
    QTimer::singleShot(0, this, [this] {
        if (!m_running)
            return;
        if (m_checks.empty()) {
            m_running = false;
            emit finished(false);
            return;
        }
        startWaitingRequests();
    });
}

void LinkChecker::cancel()
{
    if (!m_running)
        return;
    dropAllRequests();
    m_running = false;
    emit finished(true);
}

void LinkChecker::dropAllRequests()
{
    const QList<QNetworkReply *> replies = m_requests.keys();
    m_requests.clear();
    for (QNetworkReply *reply : replies) {
        reply->disconnect(this);
        if (!reply->isFinished())
            reply->abort();
        reply->deleteLater();
    }
    m_waiting.clear();
    m_hostTurns.clear();
    m_runningPerHost.clear();
}

// A redirect goes first in its host's line: its check has already waited.
void LinkChecker::enqueue(int check, bool first)
{
    const QString host = m_checks[size_t(check)].url.host();
    std::deque<int> &line = m_waiting[host];
    if (line.empty())
        m_hostTurns.push_back(host);
    if (first)
        line.push_front(check);
    else
        line.push_back(check);
}

// Hosts take turns, so that one large site does not hold up the others.
void LinkChecker::startWaitingRequests()
{
    size_t busyInARow = 0;
    while (m_running && m_requests.size() < qsizetype(m_settings.maxRequests) && !m_hostTurns.empty() &&
           busyInARow < m_hostTurns.size()) {
        const QString host = m_hostTurns.front();
        m_hostTurns.pop_front();
        if (m_runningPerHost.value(host) >= m_settings.maxPerHost) {
            m_hostTurns.push_back(host);
            ++busyInARow;
            continue;
        }
        busyInARow = 0;
        std::deque<int> &line = m_waiting[host];
        const int check = line.front();
        line.pop_front();
        if (line.empty())
            m_waiting.remove(host);
        else
            m_hostTurns.push_back(host);
        send(check);
    }
}

void LinkChecker::send(int check)
{
    Check &state = m_checks[size_t(check)];
    state.result.finalAddress = state.url.toString();
    if (!isWebUrl(state.url)) {
        conclude(check, LinkOutcome::OtherError, QStringLiteral("Not a valid web address"));
        return;
    }
    QNetworkRequest request(state.url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setHeader(QNetworkRequest::UserAgentHeader, m_settings.userAgent);
    request.setRawHeader("Accept", "*/*");
    if (state.useGet)
        request.setRawHeader("Range", kSmallRange);
    QNetworkReply *reply = state.useGet ? m_network->get(request) : m_network->head(request);
    const QString host = state.url.host();
    m_requests.insert(reply, {check, host});
    ++m_runningPerHost[host];
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { onMetaData(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFinished(reply); });
    auto *timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, reply] { onTimeout(reply); });
    timer->start(m_settings.timeoutMs);
}

// The status is all that is wanted: a GET is dropped as soon as it is known.
void LinkChecker::onMetaData(QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || !m_requests.contains(reply))
        return;
    answerWithStatus(m_requests.value(reply).check, reply, status.toInt());
    release(reply);
    startWaitingRequests();
}

void LinkChecker::onFinished(QNetworkReply *reply)
{
    if (!m_requests.contains(reply))
        return;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int check = m_requests.value(reply).check;
    if (status.isValid())
        answerWithStatus(check, reply, status.toInt());
    else
        answerWithError(check, reply);
    release(reply);
    startWaitingRequests();
}

void LinkChecker::onTimeout(QNetworkReply *reply)
{
    if (!m_requests.contains(reply))
        return;
    conclude(m_requests.value(reply).check, LinkOutcome::Timeout,
             QStringLiteral("No answer within %1 s").arg(m_settings.timeoutMs / 1000.0));
    release(reply);
    startWaitingRequests();
}

// Frees the request's place once its answer has been read. Deleting the
// reply ends its transfer; aborting it too would clash with the error an
// error status has already queued.
void LinkChecker::release(QNetworkReply *reply)
{
    if (!m_requests.contains(reply))
        return; // dropped already, by a cancel from a listener
    const Running running = m_requests.take(reply);
    if (--m_runningPerHost[running.host] <= 0)
        m_runningPerHost.remove(running.host);
    reply->disconnect(this);
    reply->deleteLater();
}

void LinkChecker::answerWithStatus(int check, QNetworkReply *reply, int status)
{
    Check &state = m_checks[size_t(check)];
    if (!state.useGet && refusesHead(status)) {
        state.useGet = true;
        enqueue(check, true);
        return;
    }
    if (isRedirect(status)) {
        const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
        followRedirect(check, target, status);
        return;
    }
    concludeWithStatus(check, status);
}

void LinkChecker::answerWithError(int check, QNetworkReply *reply)
{
    Check &state = m_checks[size_t(check)];
    if (!state.useGet && refusesHead(reply->error())) {
        state.useGet = true;
        enqueue(check, true);
        return;
    }
    conclude(check, outcomeOfError(reply->error()), reply->errorString());
}

void LinkChecker::followRedirect(int check, const QUrl &target, int status)
{
    Check &state = m_checks[size_t(check)];
    state.result.redirects.push_back({state.url.toString(), status});
    state.result.status = status;
    if (target.isEmpty()) {
        conclude(check, LinkOutcome::OtherError, QStringLiteral("A redirect without a new address"));
        return;
    }
    if (int(state.result.redirects.size()) > m_settings.maxRedirects) {
        conclude(check, LinkOutcome::TooManyRedirects);
        return;
    }
    const QUrl next = state.url.resolved(target);
    if (!isWebUrl(next)) {
        conclude(check, LinkOutcome::OtherError, QStringLiteral("A redirect to %1").arg(next.toString()));
        return;
    }
    state.url = next;
    enqueue(check, true);
}

// A move counts as permanent only when the first hop is: the SitePin then
// belongs where the permanent hops lead, even if a temporary one follows.
void LinkChecker::concludeWithStatus(int check, int status)
{
    Check &state = m_checks[size_t(check)];
    LinkCheckResult &result = state.result;
    result.status = status;
    // A ranged GET of an empty page cannot be satisfied, but the page is there.
    const bool found = (status >= 200 && status <= 299) || (state.useGet && status == 416);
    if (!found) {
        conclude(check, outcomeOfStatus(status));
        return;
    }
    if (result.redirects.empty()) {
        conclude(check, LinkOutcome::Ok);
        return;
    }
    if (!result.redirects.front().isPermanent()) {
        conclude(check, LinkOutcome::MovedTemporarily);
        return;
    }
    size_t permanent = 0;
    while (permanent < result.redirects.size() && result.redirects[permanent].isPermanent())
        ++permanent;
    result.newAddress = permanent < result.redirects.size() ? result.redirects[permanent].address : result.finalAddress;
    conclude(check, LinkOutcome::MovedPermanently);
}

void LinkChecker::conclude(int check, LinkOutcome outcome, const QString &error)
{
    LinkCheckResult &result = m_checks[size_t(check)].result;
    result.outcome = outcome;
    if (outcome != LinkOutcome::Ok && outcome != LinkOutcome::MovedPermanently &&
        outcome != LinkOutcome::MovedTemporarily)
        result.error = error;
    ++m_done;
    emit checked(result);
    emit progressChanged(m_done, total());
    if (m_running && m_done == total()) {
        m_running = false;
        emit finished(false);
    }
}
