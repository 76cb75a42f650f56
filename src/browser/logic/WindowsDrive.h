#pragma once

#include <QString>
#include <QStringList>

// Where the Windows system drive "C:\" lies on this machine, if anywhere,
// and how paths below it read in Windows form.
class WindowsDrive
{
public:
    // The first existing folder of: the one the setting names, a WSL
    // drive (/mnt/c), a Wine prefix's drive_c. Empty when there is none.
    static QString locate(const QString &settingValue, const QString &home);
    static QStringList candidates(const QString &settingValue, const QString &home);

    // "C:\Documents and Settings\me" for <root>/Documents and Settings/me.
    static QString windowsPath(const QString &root, const QString &path);
    // Only the system folders and the old profile folders are searched for
    // favourites.
    static bool isSearched(const QString &windowsPath);
};
