#include "commandline/CommandLine.h"
#include "mainwindow/ProgramStart.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // A command for a script must run where there is no display.
    if (CommandLineOptions::asksForCommand(CommandLine::arguments(argc, argv))) {
        QCoreApplication app(argc, argv);
        CommandLine::Setup setup;
        setup.programFolder = QCoreApplication::applicationDirPath();
        return CommandLine(setup).run(QCoreApplication::arguments());
    }
    QApplication app(argc, argv);
    return ProgramStart::run(app);
}
