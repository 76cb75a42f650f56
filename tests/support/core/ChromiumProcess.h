#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// Headless Chromium on a throw-away profile, with the bridge extension
// loaded unpacked and the bridge host's manifest in the profile's
// NativeMessagingHosts, its host listening in the given bridge folder.
// Started in a process group of its own, which is killed whole at the end.
class ChromiumProcess
{
public:
    explicit ChromiumProcess(const QString &bridgeFolder);
    ~ChromiumProcess();

    // SITEPINS_CHROMIUM, else /usr/bin/chromium; empty when not installed.
    static QString executable();

    bool start(const QString &url, QString *error);
    // The end of Chromium's own log, for failure messages.
    QString logTail() const;

private:
    QString m_bridgeFolder;
    QTemporaryDir m_profile;
    QProcess m_process;
};
