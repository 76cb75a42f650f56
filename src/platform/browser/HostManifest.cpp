#include "platform/browser/HostManifest.h"

#include "platform/browser/BridgeExtension.h"
#include "store/AtomicFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

QByteArray HostManifest::json(Browser browser, const QString &hostPath, const QStringList &moreChromiumIds)
{
    QJsonObject manifest{
        {QStringLiteral("name"), BridgeExtension::hostName()},
        {QStringLiteral("description"), QStringLiteral("SitePins Manager browser bridge")},
        {QStringLiteral("path"), hostPath},
        {QStringLiteral("type"), QStringLiteral("stdio")},
    };
    if (browser == Browser::Firefox) {
        manifest.insert(QStringLiteral("allowed_extensions"), QJsonArray{BridgeExtension::geckoId()});
    } else {
        QJsonArray origins{BridgeExtension::chromiumOrigin()};
        for (const QString &id : moreChromiumIds) {
            if (id != BridgeExtension::chromiumId())
                origins.append(QStringLiteral("chrome-extension://%1/").arg(id));
        }
        manifest.insert(QStringLiteral("allowed_origins"), origins);
    }
    return QJsonDocument(manifest).toJson();
}

SaveResult HostManifest::write(Browser browser, const QString &folder, const QString &hostPath)
{
    // Browsers refuse a relative path outright; better to say so here.
    if (QDir::isRelativePath(hostPath))
        return SaveResult::failure(QStringLiteral("The host path %1 is not absolute").arg(hostPath));
    if (!QDir().mkpath(folder))
        return SaveResult::failure(QStringLiteral("Cannot create %1").arg(QDir::toNativeSeparators(folder)));
    return AtomicFile::write(QDir(folder).filePath(fileName()), json(browser, hostPath));
}

QString HostManifest::fileName()
{
    return BridgeExtension::hostName() + QStringLiteral(".json");
}

QString HostManifest::chromiumFolder()
{
    return userDataFolder(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                              .filePath(QStringLiteral("chromium")));
}

QString HostManifest::chromeFolder()
{
    return userDataFolder(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                              .filePath(QStringLiteral("google-chrome")));
}

QString HostManifest::firefoxFolder()
{
    return QDir::home().filePath(QStringLiteral(".mozilla/native-messaging-hosts"));
}

QString HostManifest::userDataFolder(const QString &userDataDir)
{
    return QDir(userDataDir).filePath(QStringLiteral("NativeMessagingHosts"));
}
