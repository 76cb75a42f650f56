#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Headless Chromium for tests, on a fresh profile in a temporary folder and
// with its debugging endpoints on a port it picks itself. It runs in a
// process group of its own, so stopping it takes its helper processes too;
// the profile is removed with the object.
class HeadlessChromium
{
public:
    HeadlessChromium();
    ~HeadlessChromium();
    HeadlessChromium(const HeadlessChromium &) = delete;
    HeadlessChromium &operator=(const HeadlessChromium &) = delete;

    // The installed browser; empty when there is none.
    static QString executable();

    // Exists from construction, so a test can put files into the profile
    // before starting.
    QString userDataDir() const;

    // Starts with the extra arguments (start pages, more switches) and waits
    // until the debugging port is known. On failure errorString() says why,
    // with the end of the browser's output.
    bool start(const QStringList &extraArguments = {}, int timeoutMs = 30000);
    // Asks the browser to end, then kills whatever is left of its group.
    void stop();

    bool isRunning() const;
    quint16 devToolsPort() const { return m_port; }
    QString errorString() const { return m_error; }

private:
    QStringList arguments(const QStringList &extraArguments) const;
    quint16 readActivePort() const;
    bool fail(const QString &why);
    QString outputTail() const;

    QTemporaryDir m_root;
    QProcess m_process;
    qint64 m_groupId = 0;
    quint16 m_port = 0;
    QString m_error;
};
