#include "HeadlessBrowser.h"

#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/browser/BridgeExtension.h"
#include "platform/browser/HostManifest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <unistd.h>

namespace {

// Unsigned add-ons run on ESR when allowed; one in the profile's folder is
// enabled without asking; the test page may open its second page itself;
// and nothing waits on the network this machine does not have.
const char kFirefoxPrefs[] = R"(user_pref("xpinstall.signatures.required", false);
user_pref("extensions.autoDisableScopes", 0);
user_pref("extensions.enabledScopes", 15);
user_pref("extensions.webextensions.background-delayed-startup", false);
user_pref("dom.disable_open_during_load", false);
user_pref("widget.use-xdg-desktop-portal.native-messaging", 0);
user_pref("browser.shell.checkDefaultBrowser", false);
user_pref("browser.startup.homepage_override.mstone", "ignore");
user_pref("browser.aboutwelcome.enabled", false);
user_pref("datareporting.policy.dataSubmissionEnabled", false);
user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);
user_pref("app.update.enabled", false);
user_pref("network.captive-portal-service.enabled", false);
user_pref("network.connectivity-service.enabled", false);
user_pref("browser.safebrowsing.malware.enabled", false);
user_pref("browser.safebrowsing.phishing.enabled", false);
user_pref("extensions.getAddons.cache.enabled", false);
user_pref("browser.region.network.url", "");
)";

} // namespace

HeadlessBrowser::HeadlessBrowser(Kind kind, const QString &bridgeFolder)
    : m_kind(kind)
    , m_bridgeFolder(bridgeFolder)
{
}

HeadlessBrowser::~HeadlessBrowser()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // Content processes, zygotes and the bridge host share the group.
    ::kill(-pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished();
}

QString HeadlessBrowser::executable(Kind kind)
{
    const QString configured = kind == Kind::Chromium
                                   ? qEnvironmentVariable("SITEPINS_CHROMIUM", QStringLiteral("/usr/bin/chromium"))
                                   : qEnvironmentVariable("SITEPINS_FIREFOX", QStringLiteral("/usr/bin/firefox-esr"));
    return QFileInfo(configured).isExecutable() ? configured : QString();
}

QStringList HeadlessBrowser::chromiumArguments() const
{
    const QString extension = TestEnvironment::extensionDir(QStringLiteral("chromium"));
    QStringList arguments{
        QStringLiteral("--headless=new"),
        QStringLiteral("--user-data-dir=") + path(QStringLiteral("profile")),
        QStringLiteral("--load-extension=") + extension,
        QStringLiteral("--disable-extensions-except=") + extension,
        QStringLiteral("--disable-gpu"),
        QStringLiteral("--no-first-run"),
        // No network here: without these, start-up services wait on
        // connections that are refused.
        QStringLiteral("--disable-background-networking"),
        QStringLiteral("--disable-component-update"),
        QStringLiteral("--disable-sync"),
        QStringLiteral("--disable-quic"),
        // No keyring to wait for on a machine without a desktop session.
        QStringLiteral("--password-store=basic"),
        // The test page opens its second page itself: headless Chromium
        // takes a single address on its command line.
        QStringLiteral("--disable-popup-blocking"),
    };
    if (::geteuid() == 0)
        arguments << QStringLiteral("--no-sandbox");
    return arguments;
}

QStringList HeadlessBrowser::firefoxArguments(QProcessEnvironment &environment) const
{
    // Firefox reads host manifests from ~/.mozilla only: a home of its own.
    environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
    return {QStringLiteral("--headless"), QStringLiteral("--no-remote"), QStringLiteral("--profile"),
            path(QStringLiteral("profile"))};
}

bool HeadlessBrowser::start(const QString &url, QString *error)
{
    const bool chromium = m_kind == Kind::Chromium;
    const SaveResult manifest = chromium
                                    ? HostManifest::write(HostManifest::Browser::Chromium,
                                                          HostManifest::userDataFolder(path(QStringLiteral("profile"))),
                                                          TestEnvironment::bridgeHostPath())
                                    : HostManifest::write(HostManifest::Browser::Firefox,
                                                          path(QStringLiteral("home/.mozilla/native-messaging-hosts")),
                                                          TestEnvironment::bridgeHostPath());
    if (!manifest) {
        *error = manifest.errorString;
        return false;
    }
    // Firefox takes an unpacked add-on through a file named by its id that
    // holds the folder's path.
    if (!chromium && (!TestFiles::write(path(QStringLiteral("profile/user.js")), kFirefoxPrefs) ||
                      !TestFiles::write(path(QStringLiteral("profile/extensions/")) + BridgeExtension::geckoId(),
                                        TestEnvironment::extensionDir(QStringLiteral("firefox")).toUtf8()))) {
        *error = QStringLiteral("cannot prepare the Firefox profile");
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SITEPINS_BRIDGE_DIR"), m_bridgeFolder);
    const QStringList arguments = (chromium ? chromiumArguments() : firefoxArguments(environment)) << url;
    m_process.setProcessEnvironment(environment);
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.setStandardOutputFile(path(QStringLiteral("browser.log")));
    m_process.setStandardErrorFile(path(QStringLiteral("browser.log")), QIODevice::Append);
    m_process.start(executable(m_kind), arguments);
    if (!m_process.waitForStarted()) {
        *error = m_process.errorString();
        return false;
    }
    return true;
}

QString HeadlessBrowser::logTail() const
{
    QFile log(path(QStringLiteral("browser.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll().right(4000));
}
