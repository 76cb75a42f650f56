#pragma once

#include <QString>

// Where the program finds its default library. A build keeps it beside the
// program; an installed program, whose folder the user cannot write, keeps
// it in the user's data folder, seeded from the installed empty library.
class DefaultLibraryLocation
{
public:
    static QString relativePath(); // "MySitePins/SitePins.xml"

    explicit DefaultLibraryLocation(const QString &programFolder);

    // The library path to open; copies the installed empty library into the
    // user's data folder on the first start of an installed program.
    QString resolve() const;
    QString besideProgram() const;
    QString installedTemplate() const;
    QString inUserDataFolder() const;

private:
    QString m_programFolder;
};
