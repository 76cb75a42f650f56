#include "platform/browser/IntegrationPlaces.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// Firefox's application id: its system-wide extensions folder is named so.
const QString kFirefoxId = QStringLiteral("{ec8030f7-c20a-464f-9b0e-13a3a9e97384}");

// Each [ProfileN] section's folder; relative paths are below ~/.mozilla/firefox.
QStringList firefoxProfiles(const QString &mozillaFolder)
{
    const QString firefox = QDir(mozillaFolder).filePath(QStringLiteral("firefox"));
    const QString ini = QDir(firefox).filePath(QStringLiteral("profiles.ini"));
    if (!QFileInfo(ini).isFile())
        return {};
    QSettings profiles(ini, QSettings::IniFormat);
    QStringList folders;
    for (const QString &group : profiles.childGroups()) {
        if (!group.startsWith(QLatin1String("Profile")))
            continue;
        profiles.beginGroup(group);
        const QString path = profiles.value(QStringLiteral("Path")).toString();
        const bool relative = profiles.value(QStringLiteral("IsRelative"), 1).toInt() != 0;
        profiles.endGroup();
        if (path.isEmpty())
            continue;
        const QString folder = relative ? QDir(firefox).filePath(path) : path;
        if (QFileInfo(folder).isDir())
            folders << QDir::cleanPath(folder);
    }
    return folders;
}

} // namespace

IntegrationPlaces IntegrationPlaces::forThisUser()
{
    IntegrationPlaces places;
    places.dataFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                            .filePath(QStringLiteral("SitePins"));
    const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    places.chromiumUserDataFolders = {config.filePath(QStringLiteral("chromium")),
                                      config.filePath(QStringLiteral("google-chrome"))};
    places.mozillaFolder = QDir::home().filePath(QStringLiteral(".mozilla"));
    places.systemWide = ::geteuid() == 0;
    return places;
}

QString IntegrationPlaces::system(const QString &path) const
{
    return QDir::cleanPath(systemRoot + QLatin1Char('/') + path);
}

QString IntegrationPlaces::extensionFolder(const QString &browser) const
{
    return QDir(dataFolder).filePath(QStringLiteral("extension/") + browser);
}

QString IntegrationPlaces::keyFile() const
{
    return QDir(dataFolder).filePath(QStringLiteral("extension-key.pem"));
}

QString IntegrationPlaces::crxFile() const
{
    return QDir(dataFolder).filePath(QStringLiteral("bridge.crx"));
}

QStringList IntegrationPlaces::chromiumHostFolders() const
{
    QStringList folders;
    for (const QString &userData : chromiumUserDataFolders)
        folders << QDir(userData).filePath(QStringLiteral("NativeMessagingHosts"));
    if (systemWide)
        folders << system(QStringLiteral("etc/chromium/native-messaging-hosts"))
                << system(QStringLiteral("etc/opt/chrome/native-messaging-hosts"));
    return folders;
}

// Debian's /usr/share/chromium/extensions is not used: its launcher turns a
// file there into an error at every start.
QStringList IntegrationPlaces::chromiumExternalFolders() const
{
    QStringList folders;
    for (const QString &userData : chromiumUserDataFolders)
        folders << QDir(userData).filePath(QStringLiteral("External Extensions"));
    if (systemWide)
        folders << system(QStringLiteral("usr/lib/chromium/extensions"));
    return folders;
}

QStringList IntegrationPlaces::firefoxHostFolders() const
{
    QStringList folders{QDir(mozillaFolder).filePath(QStringLiteral("native-messaging-hosts"))};
    if (systemWide)
        folders << system(QStringLiteral("usr/lib/mozilla/native-messaging-hosts"));
    return folders;
}

QStringList IntegrationPlaces::firefoxExtensionFolders() const
{
    QStringList folders;
    for (const QString &profile : firefoxProfiles(mozillaFolder))
        folders << QDir(profile).filePath(QStringLiteral("extensions"));
    if (systemWide)
        folders << system(QStringLiteral("usr/lib/mozilla/extensions/") + kFirefoxId);
    return folders;
}

QString IntegrationPlaces::systemCrxFolder() const
{
    return system(QStringLiteral("usr/lib/chromium/extensions"));
}
