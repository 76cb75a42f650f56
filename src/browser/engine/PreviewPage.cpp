#include "browser/engine/PreviewPage.h"

#include "browser/PreviewEvents.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>

#include <algorithm>
#include <iterator>

namespace {

constexpr const char *kWebSchemes[] = {"http", "https", "about", "data", "blob"};

// The engine asks before leaving a page that wants to keep the user; the
// question comes as a confirmation with this text of its own.
bool isLeavePageQuestion(const QString &msg)
{
    return msg ==
           QCoreApplication::translate(
               "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

} // namespace

PreviewPage::PreviewPage(QWebEngineProfile *profile, PreviewEvents &events)
    : QWebEnginePage(profile)
    , m_events(events)
{
    refuseRequests();
}

void PreviewPage::refuseRequests()
{
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(this, &QWebEnginePage::selectClientCertificate, this,
            [](QWebEngineClientCertificateSelection selection) { selection.selectNone(); });
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [](const QUrl &, QAuthenticator *authenticator) { *authenticator = QAuthenticator(); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl &, QAuthenticator *authenticator, const QString &) { *authenticator = QAuthenticator(); });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

QWebEnginePage *PreviewPage::createWindow(WebWindowType)
{
    return nullptr;
}

QStringList PreviewPage::chooseFiles(FileSelectionMode, const QStringList &, const QStringList &)
{
    return {};
}

// Without silence the page's message reaches the status line, never a
// modal box.
void PreviewPage::reportDialogText(const QString &text)
{
    if (!m_silent)
        m_events.statusTextChange(text);
}

void PreviewPage::javaScriptAlert(const QUrl &, const QString &msg)
{
    reportDialogText(msg);
}

// Questions are declined, except leaving the page: declining that would
// keep the preview from showing the next SitePin.
bool PreviewPage::javaScriptConfirm(const QUrl &, const QString &msg)
{
    if (isLeavePageQuestion(msg))
        return true;
    reportDialogText(msg);
    return false;
}

bool PreviewPage::javaScriptPrompt(const QUrl &, const QString &msg, const QString &, QString *)
{
    reportDialogText(msg);
    return false;
}

// A SitePin may point at a local file, and local pages may link to each
// other; a web page may not lead to the user's files. Addresses the engine
// cannot show itself (mail, telephone, other programs' schemes) would be
// handed to another program of the desktop: refused.
bool PreviewPage::acceptNavigationRequest(const QUrl &url, NavigationType type, bool)
{
    if (url.isLocalFile())
        return type == NavigationTypeTyped || this->url().isLocalFile();
    const QString scheme = url.scheme();
    return std::any_of(std::begin(kWebSchemes), std::end(kWebSchemes),
                       [&scheme](const char *web) { return scheme == QLatin1String(web); });
}
