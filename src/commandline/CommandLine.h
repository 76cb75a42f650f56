#pragma once

#include "commandline/CommandLineOptions.h"
#include "commandline/CommandResult.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

// The program's commands for scripts, run without a window: each works on
// the default library or the one given, and a command that changes the
// library is handed to the running program when that has the library open,
// so that its window shows the change and only one program writes the file.
class CommandLine
{
public:
    struct Setup
    {
        // Where the default library is looked for.
        QString programFolder;
        QString instanceName = QStringLiteral("SitePins");
        // How long the running program may take to carry a command out; an
        // import can be long.
        int replyTimeoutMs = 10 * 60 * 1000;
        std::function<QDate()> today = [] {
            return QDate::currentDate();
        };
    };

    explicit CommandLine(Setup setup);

    // Prints what the command printed and returns the exit code.
    int run(const QStringList &arguments);
    CommandResult execute(const CommandLineOptions &options);

    static QStringList arguments(int argc, char **argv);

private:
    QString userGuideLine() const;
    QString libraryPath(const CommandLineOptions &options) const;
    CommandResult handOverOrRunHere(const CommandLineOptions &options, const QString &library);
    CommandResult runHere(const CommandLineOptions &options, const QString &library);

    Setup m_setup;
};
