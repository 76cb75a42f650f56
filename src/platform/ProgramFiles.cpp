#include "platform/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

ProgramFiles::ProgramFiles(const QString &programFolder)
    : m_programFolder(programFolder)
{
}

QString ProgramFiles::path(const QString &name) const
{
    const QString beside = besideProgram(name);
    if (QFileInfo::exists(beside))
        return beside;
    const QString shared = installed(name);
    return QFileInfo::exists(shared) ? shared : beside;
}

QString ProgramFiles::besideProgram(const QString &name) const
{
    return QDir(m_programFolder).filePath(name);
}

QString ProgramFiles::installed(const QString &name) const
{
    return QDir::cleanPath(QDir(m_programFolder).filePath(QStringLiteral("../share/sitepins/") + name));
}
