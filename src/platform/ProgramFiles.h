#pragma once

#include <QString>

// The files the program expects in its own folder: the help file, the
// empty library, the browser button's icons. A build keeps them beside the
// executable. An installed executable sits in bin/, where data files do not
// belong, so they are installed to share/sitepins beside bin/ and looked
// for there when they are not beside the program.
class ProgramFiles
{
public:
    explicit ProgramFiles(const QString &programFolder);

    // Beside the program when it is there, else in the installed data
    // folder when it is there; else beside the program, so that a message
    // about a missing file names the program's folder.
    QString path(const QString &name) const;
    QString besideProgram(const QString &name) const;
    QString installed(const QString &name) const;

private:
    QString m_programFolder;
};
