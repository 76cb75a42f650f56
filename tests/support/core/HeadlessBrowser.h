#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real browser, headless, on a throw-away profile, started in a process
// group of its own that is ended whole with it. Either with the bridge
// extension installed unpacked and the bridge host's manifest where that
// browser looks for it, its host listening in the given bridge folder; or,
// for Chromium, bare, with its debugging endpoints on a port it picks itself.
class HeadlessBrowser
{
public:
    enum class Kind
    {
        Chromium,
        Firefox,
    };

    explicit HeadlessBrowser(Kind kind = Kind::Chromium, const QString &bridgeFolder = {});
    ~HeadlessBrowser();

    // SITEPINS_CHROMIUM or SITEPINS_FIREFOX, else the Debian package's
    // program; empty when not installed.
    static QString executable(Kind kind);

    // With the bridge, on this page.
    bool start(const QString &url, QString *error);
    // Without the bridge, with the extra arguments (pages, more switches);
    // waits until the debugging port is known.
    bool startWithDebugging(const QStringList &extraArguments, int timeoutMs, QString *error);
    // Asks the browser to end, then kills whatever is left of its group.
    void stop();

    quint16 devToolsPort() const { return m_port; }
    // Exists from construction, so a test can put files into the profile
    // before starting.
    QString userDataDir() const { return path("profile"); }
    // The end of the browser's own log, for failure messages.
    QString logTail() const;

private:
    QStringList chromiumArguments() const;
    QStringList firefoxArguments(QProcessEnvironment &environment) const;
    bool launch(const QStringList &arguments, const QProcessEnvironment &environment, QString *error);
    quint16 readActivePort() const;
    QString path(const QString &name) const { return m_root.filePath(name); }

    Kind m_kind;
    QString m_bridgeFolder;
    QTemporaryDir m_root;
    QProcess m_process;
    qint64 m_groupId = 0;
    quint16 m_port = 0;
};
