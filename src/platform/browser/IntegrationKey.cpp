#include "platform/browser/IntegrationKey.h"

#include "platform/ProgramFiles.h"
#include "platform/RegistryFunctions.h"

QList<IntegrationKey::Value> IntegrationKey::values(const QString &programFolder, const QString &programName)
{
    const QString folder =
        programFolder.endsWith(QLatin1Char('/')) && programFolder.size() > 1 ? programFolder.chopped(1) : programFolder;
    // An installed program keeps its icons in its data folder, not in bin/.
    const ProgramFiles files(folder);
    return {
        {QStringLiteral("ButtonText"), QStringLiteral("SitePins Manager")},
        {QStringLiteral("CLSID"), QStringLiteral("{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}")},
        {QStringLiteral("Default Visible"), QStringLiteral("Yes")},
        {QStringLiteral("Exec"), folder + QLatin1Char('/') + programName},
        {QStringLiteral("HotIcon"), files.path(QStringLiteral("HotIcon.ico"))},
        {QStringLiteral("Icon"), files.path(QStringLiteral("Icon.ico"))},
        {QStringLiteral("MenuStatusBar"), QStringLiteral("Save this web page as a new SitePin.")},
        {QStringLiteral("MenuText"), QStringLiteral("Create &SitePin")},
    };
}

QString IntegrationKey::exec()
{
    return RegistryFunctions::getRegistryValue(RegistryRoot::HKEY_LOCAL_MACHINE, QString::fromLatin1(kKeyPath),
                                               QStringLiteral("Exec"))
        .toString();
}
