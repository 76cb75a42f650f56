#include "browser/engine/WebEnginePreview.h"

#include "browser/PreviewEvents.h"
#include "browser/engine/PreviewPage.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

constexpr int kProgressMaximum = 100;

void restrictSettings(QWebEngineSettings *settings)
{
    // Showing a SitePin must not take the keyboard from the list it was picked in.
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
}

} // namespace

WebEnginePreview::WebEnginePreview(QWidget *parent, PreviewEvents &events)
    : m_events(events)
    , m_profile(new QWebEngineProfile()) // no storage name: off the record
{
    m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    restrictSettings(m_profile->settings());
    // A preview looks at pages; it never saves anything from them.
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest *download) { download->cancel(); });
    m_page = new PreviewPage(m_profile, m_events);
    m_view = new QWebEngineView(m_page, parent);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    reportLoading();
}

// The page must go before its profile, the view before its page.
WebEnginePreview::~WebEnginePreview()
{
    delete m_view.data();
    delete m_page;
    delete m_profile;
}

void WebEnginePreview::reportLoading()
{
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { m_events.downloadBegin(); });
    connect(m_page, &QWebEnginePage::loadProgress, this,
            [this](int percent) { m_events.progressChange(percent, kProgressMaximum); });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this] { m_events.downloadComplete(); });
    connect(m_page, &QWebEnginePage::linkHovered, this, [this](const QString &url) { m_events.statusTextChange(url); });
}

QWidget *WebEnginePreview::view()
{
    return m_view;
}

void WebEnginePreview::navigate(const QUrl &address)
{
    m_page->load(address);
}

void WebEnginePreview::refresh()
{
    m_page->triggerAction(QWebEnginePage::Reload);
}

void WebEnginePreview::stop()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void WebEnginePreview::setSilent(bool silent)
{
    m_page->setSilent(silent);
}
