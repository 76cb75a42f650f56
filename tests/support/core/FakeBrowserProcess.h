#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

// The real bridge host, started by tests/tools/fake_browser in place of a
// browser, listening in the given bridge folder. Ended with the object.
class FakeBrowserProcess
{
public:
    FakeBrowserProcess(const QString &bridgeFolder, const QJsonArray &windows, const QStringList &options = {});
    ~FakeBrowserProcess();

    // Waits until the host listens; false (and the reason) when it does not.
    bool start(QString *error = nullptr);
    qint64 hostPid() const { return m_hostPid; }
    QString socketPath() const;
    void kill();

private:
    QString m_folder;
    QStringList m_options;
    QTemporaryFile m_model;
    QProcess m_process;
    qint64 m_hostPid = 0;
};
