#include "store/DefaultLibraryLocation.h"

#include "platform/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString DefaultLibraryLocation::relativePath()
{
    return QStringLiteral("MySitePins/SitePins.xml");
}

DefaultLibraryLocation::DefaultLibraryLocation(const QString &programFolder)
    : m_programFolder(programFolder)
{
}

QString DefaultLibraryLocation::besideProgram() const
{
    return QDir(m_programFolder).filePath(relativePath());
}

QString DefaultLibraryLocation::installedTemplate() const
{
    return ProgramFiles(m_programFolder).installed(QStringLiteral("SitePins.xml"));
}

QString DefaultLibraryLocation::inUserDataFolder() const
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(dataHome).filePath(QStringLiteral("SitePins/") + relativePath());
}

QString DefaultLibraryLocation::resolve() const
{
    const QString local = besideProgram();
    if (QFileInfo::exists(local))
        return local;
    const QString seed = installedTemplate();
    if (!QFileInfo::exists(seed))
        return local;
    const QString personal = inUserDataFolder();
    if (!QFileInfo::exists(personal)) {
        QDir().mkpath(QFileInfo(personal).absolutePath());
        QFile::copy(seed, personal);
        // The installed copy is read-only; the user's own must be writable.
        QFile::setPermissions(personal, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return personal;
}
