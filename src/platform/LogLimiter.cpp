#include "platform/LogLimiter.h"

LogLimiter::LogLimiter(int linesPerInterval, qint64 intervalMs)
    : m_linesPerInterval(linesPerInterval)
    , m_intervalMs(intervalMs)
{
}

bool LogLimiter::allow(int *suppressedBefore)
{
    if (!m_interval.isValid() || m_interval.hasExpired(m_intervalMs)) {
        m_interval.start();
        m_written = 0;
    }
    if (m_written >= m_linesPerInterval) {
        ++m_suppressed;
        return false;
    }
    ++m_written;
    *suppressedBefore = m_suppressed;
    m_suppressed = 0;
    return true;
}
