#include "TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

void TestEnvironment::isolateXdgFolders()
{
    static std::unique_ptr<QTemporaryDir> root;
    if (root)
        return;
    root = std::make_unique<QTemporaryDir>();
    const QDir base(root->path());
    for (const char *name : {"config", "data", "cache", "runtime"})
        base.mkpath(QLatin1String(name));
    QFile::setPermissions(base.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", base.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", base.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CACHE_HOME", base.filePath(QStringLiteral("cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", base.filePath(QStringLiteral("runtime")).toUtf8());
}

QString TestEnvironment::toolPath(const QString &name)
{
    return QDir(QStringLiteral(SITEPINS_TOOLS_DIR)).filePath(name);
}

QString TestEnvironment::bridgeHostPath()
{
    return QStringLiteral(SITEPINS_BRIDGE_HOST);
}

QString TestEnvironment::extensionDir(const QString &browser)
{
    return QDir(QStringLiteral(SITEPINS_EXTENSION_DIR)).filePath(browser);
}

QString TestEnvironment::iconFile(const QString &name)
{
    return QDir(QStringLiteral(SITEPINS_ICON_DIR)).filePath(name);
}
