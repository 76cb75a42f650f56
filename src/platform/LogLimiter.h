#pragma once

#include <QElapsedTimer>

// Lets at most a number of log lines through per interval. A peer that can
// provoke a warning per connection or per frame must not be able to fill the
// disk with them; what was held back is counted and told with the next line.
class LogLimiter
{
public:
    explicit LogLimiter(int linesPerInterval = 20, qint64 intervalMs = 60 * 1000);

    // True when a line may be written now; suppressedBefore is then the
    // number of lines held back since the last one written.
    bool allow(int *suppressedBefore);

private:
    int m_linesPerInterval;
    qint64 m_intervalMs;
    QElapsedTimer m_interval;
    int m_written = 0;
    int m_suppressed = 0;
};
