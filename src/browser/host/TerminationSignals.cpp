#include "browser/host/TerminationSignals.h"

#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&blocked, signal);
    // Blocked in every thread Qt starts later, so only the descriptor sees them.
    if (::sigprocmask(SIG_BLOCK, &blocked, nullptr) != 0)
        return;
    m_fd = ::signalfd(-1, &blocked, SFD_NONBLOCK | SFD_CLOEXEC);
    if (m_fd < 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        signalfd_siginfo info;
        while (::read(m_fd, &info, sizeof info) == sizeof info) {
        }
        emit received();
    });
}

TerminationSignals::~TerminationSignals()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}
