#include "browser/host/CaptureRelay.h"

#include "platform/InstanceChannel.h"
#include "platform/browser/IntegrationKey.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>

namespace {

Q_LOGGING_CATEGORY(lcCapture, "sitepins.bridge.capture")

} // namespace

CaptureRelay::CaptureRelay(const QString &instanceName)
    : m_instanceName(instanceName)
{
}

QString CaptureRelay::programPath()
{
    const QString exec = IntegrationKey::exec();
    if (!exec.isEmpty())
        return exec;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SitePins"));
}

bool CaptureRelay::capture(const CapturedPage &page)
{
    return handToRunningInstance(page) || startProgram(page);
}

bool CaptureRelay::handToRunningInstance(const CapturedPage &page)
{
    InstanceChannel channel(m_instanceName);
    // Nobody on the socket: not running, and no reason to wait.
    if (!channel.primaryListens())
        return false;
    if (channel.sendToPrimary(page.toMessage(), kHandOverTimeoutMs))
        return true;
    qCWarning(lcCapture) << "The running program did not take the page:" << channel.errorString();
    return false;
}

// Detached, in a session of its own and off the browser's pipes: the
// program outlives this host, which ends with the browser's port.
bool CaptureRelay::startProgram(const CapturedPage &page)
{
    const QString program = programPath();
    QProcess process;
    process.setProgram(program);
    process.setArguments(page.toArguments());
    process.setWorkingDirectory(QFileInfo(program).absolutePath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    qCWarning(lcCapture).noquote() << "Cannot start" << program << ":" << process.errorString();
    return false;
}
