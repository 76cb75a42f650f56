#pragma once

#include <QString>
#include <QStringList>

// The program's arguments:
//   SitePins [--library FILE] [LIBRARY]
//   SitePins [--library FILE] --add URL [--name NAME] [--folder PATH]
//   SitePins [--library FILE] --search TEXT [--in name|address|notes|all]
//   SitePins [--library FILE] --export FILE [--folder PATH]
//   SitePins [--library FILE] --import FILE
//   SitePins --help | --version
class CommandLineOptions
{
public:
    enum class Action
    {
        OpenWindow,
        Help,
        Version,
        Add,
        Search,
        Export,
        Import,
    };

    Action action = Action::OpenWindow;
    // As given; empty for the default library.
    QString library;
    QString address;
    QString name;
    QString folder;
    QString searchText;
    QString searchField = QStringLiteral("all");
    // The file to export to or import from.
    QString file;
    // Why the arguments make no sense; empty when they do.
    QString error;

    // The first argument is the program itself.
    static CommandLineOptions parse(const QStringList &arguments);
    // True when the arguments ask for a command rather than the window, or
    // make no sense, so that the program must not need a display. Options
    // of the window system's own are passed over here; parse() refuses them.
    static bool asksForCommand(const QStringList &arguments);
    static QStringList withoutWindowSystemOptions(const QStringList &arguments);
    static QString helpText();

    bool changesLibrary() const { return action == Action::Add || action == Action::Import; }
};
