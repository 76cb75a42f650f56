#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A primary instance in a process of its own (tests/tools/instance_peer
// host), so that a test can lower its file limit, stop it or kill it
// without touching the test runner.
class PeerHost
{
public:
    PeerHost(const QString &name, const QStringList &settings = {});
    ~PeerHost();

    bool isReady() const { return m_ready; }
    // Waits, with the event loop running, until it printed that hand-over.
    bool waitForHandOver(const QString &text, int timeoutMs = 30000);
    // Stopped, it holds the name and its socket but answers nothing.
    void stop();

private:
    QProcess m_process;
    QByteArray m_output;
    bool m_ready = false;
};
