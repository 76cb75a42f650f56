#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A real browser, headless, on a throw-away profile with the bridge
// extension installed unpacked and the bridge host's manifest where that
// browser looks for it, its host listening in the given bridge folder.
// Started in a process group of its own, which is killed whole at the end.
class HeadlessBrowser
{
public:
    enum class Kind
    {
        Chromium,
        Firefox,
    };

    HeadlessBrowser(Kind kind, const QString &bridgeFolder);
    ~HeadlessBrowser();

    // SITEPINS_CHROMIUM or SITEPINS_FIREFOX, else the Debian package's
    // program; empty when not installed.
    static QString executable(Kind kind);

    bool start(const QString &url, QString *error);
    // The end of the browser's own log, for failure messages.
    QString logTail() const;

private:
    QStringList chromiumArguments() const;
    QStringList firefoxArguments(QProcessEnvironment &environment) const;
    QString path(const QString &name) const { return m_root.filePath(name); }

    Kind m_kind;
    QString m_bridgeFolder;
    QTemporaryDir m_root;
    QProcess m_process;
};
