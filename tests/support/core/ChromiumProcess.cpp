#include "ChromiumProcess.h"

#include "TestEnvironment.h"
#include "platform/browser/HostManifest.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <unistd.h>

ChromiumProcess::ChromiumProcess(const QString &bridgeFolder)
    : m_bridgeFolder(bridgeFolder)
{
}

ChromiumProcess::~ChromiumProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The renderers, zygotes and the bridge host share the group.
    ::kill(-pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished();
}

QString ChromiumProcess::executable()
{
    const QString configured = qEnvironmentVariable("SITEPINS_CHROMIUM", QStringLiteral("/usr/bin/chromium"));
    return QFileInfo(configured).isExecutable() ? configured : QString();
}

bool ChromiumProcess::start(const QString &url, QString *error)
{
    const QString extension = TestEnvironment::extensionDir(QStringLiteral("chromium"));
    const SaveResult manifest =
        HostManifest::write(HostManifest::Browser::Chromium, HostManifest::userDataFolder(m_profile.path()),
                            TestEnvironment::bridgeHostPath());
    if (!manifest) {
        *error = manifest.errorString;
        return false;
    }
    QStringList arguments{
        QStringLiteral("--headless=new"),
        QStringLiteral("--user-data-dir=") + m_profile.path(),
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
    arguments << url;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SITEPINS_BRIDGE_DIR"), m_bridgeFolder);
    m_process.setProcessEnvironment(environment);
    m_process.setChildProcessModifier([] { ::setpgid(0, 0); });
    m_process.setStandardOutputFile(m_profile.filePath(QStringLiteral("chromium.log")));
    m_process.setStandardErrorFile(m_profile.filePath(QStringLiteral("chromium.log")), QIODevice::Append);
    m_process.start(executable(), arguments);
    if (!m_process.waitForStarted()) {
        *error = m_process.errorString();
        return false;
    }
    return true;
}

QString ChromiumProcess::logTail() const
{
    QFile log(m_profile.filePath(QStringLiteral("chromium.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = log.readAll();
    return QString::fromUtf8(text.right(4000));
}
