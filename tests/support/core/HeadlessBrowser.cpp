#include "HeadlessBrowser.h"

#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/browser/BridgeExtension.h"
#include "platform/browser/HostManifest.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

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

constexpr int kPollMs = 50;
constexpr int kGracefulEndMs = 5000;

// Zombies left for a non-reaping init do not count: they hold no files.
bool groupHasLiveProcesses(qint64 groupId)
{
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // "pid (name) state ppid pgrp ...": the name may hold anything.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLongLong() == groupId && fields.at(0) != "Z")
            return true;
    }
    return false;
}

} // namespace

HeadlessBrowser::HeadlessBrowser(Kind kind, const QString &bridgeFolder)
    : m_kind(kind)
    , m_bridgeFolder(bridgeFolder)
{
    QDir(m_root.path()).mkpath("profile");
    QDir(m_root.path()).mkpath("tmp");
}

HeadlessBrowser::~HeadlessBrowser()
{
    stop();
}

// Content processes, zygotes and the bridge host share the group; helpers
// that outlived the browser would go on writing into the profile.
void HeadlessBrowser::stop()
{
    if (m_groupId == 0)
        return;
    ::kill(pid_t(-m_groupId), SIGTERM);
    m_process.waitForFinished(kGracefulEndMs);
    ::kill(pid_t(-m_groupId), SIGKILL);
    m_process.waitForFinished(kGracefulEndMs);
    const QDeadlineTimer deadline(kGracefulEndMs);
    while (groupHasLiveProcesses(m_groupId) && !deadline.hasExpired())
        QThread::msleep(kPollMs);
    m_groupId = 0;
    m_port = 0;
}

QString HeadlessBrowser::executable(Kind kind)
{
    const QString configured = kind == Kind::Chromium
                                   ? qEnvironmentVariable("SITEPINS_CHROMIUM", "/usr/bin/chromium")
                                   : qEnvironmentVariable("SITEPINS_FIREFOX", "/usr/bin/firefox-esr");
    return QFileInfo(configured).isExecutable() ? configured : QString();
}

QStringList HeadlessBrowser::chromiumArguments() const
{
    QStringList arguments{
        "--headless=new",
        QStringLiteral("--user-data-dir=") + path("profile"),
        "--disable-gpu",
        "--no-first-run",
        // No network here: without these, start-up services wait on
        // connections that are refused.
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
        "--disable-quic",
        // No keyring to wait for on a machine without a desktop session.
        "--password-store=basic",
        // The test page opens its second page itself: headless Chromium
        // takes a single address on its command line.
        "--disable-popup-blocking",
    };
    // Chromium's sandbox refuses to run as root; as anyone else it stays on.
    if (::geteuid() == 0)
        arguments << "--no-sandbox";
    return arguments;
}

QStringList HeadlessBrowser::firefoxArguments(QProcessEnvironment &environment) const
{
    // Firefox reads host manifests from ~/.mozilla only: a home of its own.
    environment.insert("HOME", path("home"));
    return {"--headless", "--no-remote", "--profile", path("profile")};
}

bool HeadlessBrowser::start(const QString &url, QString *error)
{
    const bool chromium = m_kind == Kind::Chromium;
    const SaveResult manifest =
        chromium ? HostManifest::write(HostManifest::Browser::Chromium, HostManifest::userDataFolder(path("profile")),
                                       TestEnvironment::bridgeHostPath())
                 : HostManifest::write(HostManifest::Browser::Firefox, path("home/.mozilla/native-messaging-hosts"),
                                       TestEnvironment::bridgeHostPath());
    if (!manifest) {
        *error = manifest.errorString;
        return false;
    }
    // Firefox takes an unpacked add-on through a file named by its id that
    // holds the folder's path.
    if (!chromium && (!TestFiles::write(path("profile/user.js"), kFirefoxPrefs) ||
                      !TestFiles::write(path("profile/extensions/") + BridgeExtension::geckoId(),
                                        TestEnvironment::extensionDir("firefox").toUtf8()))) {
        *error = "cannot prepare the Firefox profile";
        return false;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("SITEPINS_BRIDGE_DIR", m_bridgeFolder);
    const QString extension = TestEnvironment::extensionDir("chromium");
    const QStringList arguments = chromium ? chromiumArguments() << "--load-extension=" + extension
                                                                 << "--disable-extensions-except=" + extension
                                           : firefoxArguments(environment);
    return launch(arguments + QStringList{url}, environment, error);
}

bool HeadlessBrowser::startWithDebugging(const QStringList &extraArguments, int timeoutMs, QString *error)
{
    if (!launch(chromiumArguments() << "--remote-debugging-port=0" << extraArguments,
                QProcessEnvironment::systemEnvironment(), error))
        return false;
    const QDeadlineTimer deadline(timeoutMs);
    while ((m_port = readActivePort()) == 0) {
        if (m_process.state() != QProcess::Running || deadline.hasExpired()) {
            *error = "chromium wrote no DevToolsActivePort in time\n" + logTail();
            stop();
            return false;
        }
        QThread::msleep(kPollMs);
    }
    return true;
}

bool HeadlessBrowser::launch(const QStringList &arguments, const QProcessEnvironment &environment, QString *error)
{
    // Chromium leaves scratch folders in TMPDIR; they go with the profile.
    QProcessEnvironment withTemporary = environment;
    withTemporary.insert("TMPDIR", path("tmp"));
    m_process.setProcessEnvironment(withTemporary);
    m_process.setChildProcessModifier([] { ::setsid(); });
    // A file, not a pipe: nobody reads a pipe here, and a full one would stall the browser.
    m_process.setStandardOutputFile(path("browser.log"));
    m_process.setStandardErrorFile(path("browser.log"), QIODevice::Append);
    m_process.start(executable(m_kind), arguments);
    if (!m_process.waitForStarted()) {
        *error = m_process.errorString();
        return false;
    }
    m_groupId = m_process.processId();
    return true;
}

// The file holds the port and the browser's endpoint path, a line each; it
// may be caught half written.
quint16 HeadlessBrowser::readActivePort() const
{
    const QByteArray text = TestFiles::read(path("profile/DevToolsActivePort"));
    const qsizetype lineEnd = text.indexOf('\n');
    bool isNumber = false;
    const uint port = lineEnd < 0 ? 0 : text.left(lineEnd).trimmed().toUInt(&isNumber);
    return isNumber && port > 0 && port <= 65535 ? quint16(port) : 0;
}

QString HeadlessBrowser::logTail() const
{
    QFile log(path("browser.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll().right(4000));
}
