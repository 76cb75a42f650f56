#include "FakeBrowserProcess.h"

#include "TestEnvironment.h"
#include "platform/browser/BridgeFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

constexpr int kStartTimeoutMs = 30000;

} // namespace

FakeBrowserProcess::FakeBrowserProcess(const QString &bridgeFolder, const QJsonArray &windows,
                                       const QStringList &options)
    : m_folder(bridgeFolder)
    , m_options(options)
{
    m_model.open();
    m_model.write(QJsonDocument(QJsonObject{{QStringLiteral("windows"), windows}}).toJson());
    m_model.flush();
}

FakeBrowserProcess::~FakeBrowserProcess()
{
    kill();
}

QString FakeBrowserProcess::socketPath() const
{
    return QDir(m_folder).filePath(BridgeFolder::hostSocketName(m_hostPid));
}

bool FakeBrowserProcess::start(QString *error)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SITEPINS_BRIDGE_DIR"), m_folder);
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(TestEnvironment::toolPath(QStringLiteral("fake_browser")),
                    QStringList{TestEnvironment::bridgeHostPath(), m_model.fileName()} + m_options);
    const bool started =
        QTest::qWaitFor([this] { return m_process.canReadLine() || m_process.state() == QProcess::NotRunning; },
                        kStartTimeoutMs) &&
        (m_hostPid = m_process.readLine().trimmed().toLongLong()) > 0 &&
        QTest::qWaitFor([this] { return QFileInfo::exists(socketPath()); }, kStartTimeoutMs);
    if (!started && error)
        *error = QStringLiteral("the host did not start listening in %1").arg(m_folder);
    return started;
}

void FakeBrowserProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}
