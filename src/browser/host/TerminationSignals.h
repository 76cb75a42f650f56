#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// SIGTERM, SIGINT and SIGHUP as a Qt signal, so that the host ends through
// its event loop and takes its socket file with it. Browsers send SIGTERM
// to a host that outlives its port. Uses a signalfd: no handler, no global.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received();

private:
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
