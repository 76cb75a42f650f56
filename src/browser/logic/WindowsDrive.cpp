#include "browser/logic/WindowsDrive.h"

#include <QDir>
#include <QFileInfo>

QStringList WindowsDrive::candidates(const QString &settingValue, const QString &home)
{
    QStringList folders;
    if (!settingValue.trimmed().isEmpty())
        folders << settingValue.trimmed();
    folders << QStringLiteral("/mnt/c");
    if (!home.isEmpty())
        folders << QDir(home).filePath(QStringLiteral(".wine/drive_c"));
    return folders;
}

QString WindowsDrive::locate(const QString &settingValue, const QString &home)
{
    for (const QString &folder : candidates(settingValue, home)) {
        if (QFileInfo(folder).isDir())
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    }
    return {};
}

QString WindowsDrive::windowsPath(const QString &root, const QString &path)
{
    const QString cleanRoot = QDir::cleanPath(root);
    const QString cleanPath = QDir::cleanPath(path);
    QString relative = cleanPath == cleanRoot ? QString() : QDir(cleanRoot).relativeFilePath(cleanPath);
    return QStringLiteral("C:\\") + relative.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

bool WindowsDrive::isSearched(const QString &windowsPath)
{
    const QString upper = windowsPath.toUpper();
    return upper.left(10) == QLatin1String("C:\\WINDOWS") ||
           upper.left(25) == QLatin1String("C:\\DOCUMENTS AND SETTINGS");
}
