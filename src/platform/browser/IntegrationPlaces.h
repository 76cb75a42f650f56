#pragma once

#include <QString>
#include <QStringList>

// Where integration puts what makes the browsers' button real: the folders
// of this user's browsers and, for root, the system's. Tests point every
// one of them at temporary folders.
struct IntegrationPlaces
{
    // The user's data folder for the program (…/share/SitePins): the
    // generated extension, its packed forms and the installation's key.
    QString dataFolder;
    // User data folders of Chromium-family browsers (~/.config/chromium,
    // ~/.config/google-chrome): NativeMessagingHosts and External Extensions.
    QStringList chromiumUserDataFolders;
    // ~/.mozilla: native-messaging-hosts, and firefox/profiles.ini.
    QString mozillaFolder;
    // The system's folders too (as root); below systemRoot, "/" but in tests.
    bool systemWide = false;
    QString systemRoot = QStringLiteral("/");

    static IntegrationPlaces forThisUser();

    QString extensionFolder(const QString &browser) const;
    QString keyFile() const;
    QString crxFile() const;
    QStringList chromiumHostFolders() const;
    QStringList chromiumExternalFolders() const;
    QStringList firefoxHostFolders() const;
    // The extensions folder of each Firefox profile, and the system's.
    QStringList firefoxExtensionFolders() const;
    // Where a system-wide packed extension is kept, readable by all.
    QString systemCrxFolder() const;

private:
    QString system(const QString &path) const;
};
