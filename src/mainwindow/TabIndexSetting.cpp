#include "mainwindow/TabIndexSetting.h"

#include "platform/RegistryFunctions.h"

void TabIndexSetting::addDefaultFormValues()
{
    RegistryKey key;
    if (RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_CURRENT_USER, QString::fromLatin1(kKeyPath), key) ==
        ERROR_SUCCESS) {
        RegistryFunctions::closeRegistryKey(key);
        return;
    }
    if (RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_CURRENT_USER, QString::fromLatin1(kKeyPath), key) !=
        ERROR_SUCCESS)
        return;
    RegistryFunctions::setRegistryValue(key, QString::fromLatin1(kValueName), REG_SZ, QStringLiteral("0"));
    RegistryFunctions::closeRegistryKey(key);
}

int TabIndexSetting::getTabIndexSetting()
{
    const QVariant value = RegistryFunctions::getRegistryValue(
        RegistryRoot::HKEY_CURRENT_USER, QString::fromLatin1(kKeyPath), QString::fromLatin1(kValueName));
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return 0;
    bool isNumber = false;
    const int tab = text.toInt(&isNumber);
    // Only the three tabs exist; anything else starts on the first.
    return (isNumber && tab >= 0 && tab <= 2) ? tab : 0;
}

void TabIndexSetting::setSavedFormValues(int tab)
{
    RegistryKey key;
    if (RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_CURRENT_USER, QString::fromLatin1(kKeyPath), key) !=
        ERROR_SUCCESS)
        return;
    RegistryFunctions::setRegistryValue(key, QString::fromLatin1(kValueName), REG_SZ, QString::number(tab));
    RegistryFunctions::closeRegistryKey(key);
}
