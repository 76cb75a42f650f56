#include "PeerHost.h"

#include "TestEnvironment.h"

#include <QTest>

#include <csignal>

PeerHost::PeerHost(const QString &name, const QStringList &settings)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(TestEnvironment::toolPath(QStringLiteral("instance_peer")),
                    QStringList{QStringLiteral("host"), name} + settings);
    m_ready = QTest::qWaitFor(
                  [this] {
                      m_output += m_process.readAllStandardOutput();
                      return m_output.contains("ready\n") || m_process.state() == QProcess::NotRunning;
                  },
                  30000) &&
              m_output.contains("ready\n");
}

PeerHost::~PeerHost()
{
    // Ends a stopped process as well.
    m_process.kill();
    m_process.waitForFinished();
}

bool PeerHost::waitForHandOver(const QString &text, int timeoutMs)
{
    const QByteArray line = "received " + text.toUtf8() + '\n';
    return QTest::qWaitFor(
        [&] {
            m_output += m_process.readAllStandardOutput();
            return m_output.contains(line);
        },
        timeoutMs);
}

void PeerHost::stop()
{
    ::kill(pid_t(m_process.processId()), SIGSTOP);
}
