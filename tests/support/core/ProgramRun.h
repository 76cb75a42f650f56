#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The built program started as a process of its own, offscreen, as a script
// or a browser's button would start it.
class ProgramRun
{
public:
    struct Finished
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    // SITEPINS_PROGRAM, set by the build for every test.
    static QString program();
    // This process's environment, offscreen; with settings and data in
    // `settingsFolder` when one is given.
    static QProcessEnvironment environment(const QString &settingsFolder = {});
    // Runs to the end while this process keeps serving events, so that a
    // window here can answer the program.
    static Finished run(const QStringList &arguments, const QString &settingsFolder = {},
                        const QString &workingFolder = {});
};
