#include "platform/InstalledComponents.h"

#include "platform/RegistryFunctions.h"

#include <QCoreApplication>
#include <QFile>

#include <dlfcn.h>

namespace {

bool setDefaultValue(RegistryRoot root, const QString &keyPath, const QString &text)
{
    if (RegistryFunctions::getRegistryValue(root, keyPath, QString()) == QVariant(text))
        return true;
    RegistryKey key;
    if (RegistryFunctions::createRegistryKey(root, keyPath, key) != ERROR_SUCCESS)
        return false;
    const int result = RegistryFunctions::setRegistryValue(key, QString(), REG_SZ, text);
    RegistryFunctions::closeRegistryKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace

InstalledComponents::Component InstalledComponents::viewer()
{
    return {QCoreApplication::applicationFilePath(), QStringLiteral(SITEPINS_VERSION)};
}

// The preview does not embed a browser engine yet; Qt's own library stands
// in for it, so its version is Qt's.
InstalledComponents::Component InstalledComponents::browser()
{
    Dl_info library{};
    QString path;
    if (dladdr(reinterpret_cast<const void *>(&qVersion), &library) != 0 && library.dli_fname)
        path = QFile::decodeName(library.dli_fname);
    return {path, QString::fromLatin1(qVersion())};
}

FileVersionInfo InstalledComponents::fileVersions()
{
    FileVersionInfo versions;
    for (const Component &component : {viewer(), browser()})
        if (!component.path.isEmpty())
            versions.addFile(component.path, component.version);
    return versions;
}

bool InstalledComponents::registerComponents(const Component &viewer, const Component &browser)
{
    bool written = setDefaultValue(RegistryRoot::HKEY_LOCAL_MACHINE, QString::fromLatin1(kViewerTypeLibraryKey),
                                   QStringLiteral("SitePins help viewer"));
    written =
        setDefaultValue(RegistryRoot::HKEY_CLASSES_ROOT, QString::fromLatin1(kViewerClassKey), viewer.path) && written;
    if (!browser.path.isEmpty())
        written =
            setDefaultValue(RegistryRoot::HKEY_CLASSES_ROOT, QString::fromLatin1(kBrowserClassKey), browser.path) &&
            written;
    return written;
}
