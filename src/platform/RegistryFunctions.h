#pragma once

#include "platform/RegistryKey.h"
#include "platform/RegistryResult.h"
#include "platform/RegistryRoot.h"
#include "platform/RegistryValue.h"

#include <QString>
#include <QStringList>
#include <QVariant>

// Registry routines over one INI file per root, below the user's config
// folder (XDG_CONFIG_HOME/SitePins/registry/<ROOT>.ini). Key paths use
// backslashes and may start or end with one. Every change is one atomic
// rewrite of the file under a lock file; every routine reports a result code
// (RegistryResult) rather than failing silently.
class RegistryFunctions
{
public:
    static QString registryFilePath(RegistryRoot root);

    // A root's file that is damaged (see RegistryFile::LoadResult) is moved
    // aside to a name ending in ".corrupt", so that the root works again,
    // from nothing; changing a root does the same. Returns the new name;
    // empty when the file was whole, missing, or could not be moved.
    static QString setAsideDamagedFile(RegistryRoot root);

    // An existing key is simply opened; missing parents are created too.
    static int createRegistryKey(RegistryRoot root, const QString &keyPath, RegistryKey &key);
    // ERROR_FILE_NOT_FOUND when the key does not exist; key stays closed then.
    static int openRegistryKey(RegistryRoot root, const QString &keyPath, RegistryKey &key);
    static int closeRegistryKey(RegistryKey &key);

    // REG_SZ takes the value as text, REG_DWORD as a 32-bit number (signed or
    // unsigned); any other type writes nothing and gives ERROR_SUCCESS.
    static int setRegistryValue(const RegistryKey &key, const QString &valueName, int valueType, const QVariant &value);
    // REG_SZ gives a QString, REG_DWORD a quint32. On any failure, and for
    // values of other types (ERROR_UNSUPPORTED_TYPE), value is left untouched.
    static int queryRegistryValue(const RegistryKey &key, const QString &valueName, QVariant &value);
    // Opens, queries and closes; an invalid QVariant when it cannot be read.
    static QVariant getRegistryValue(RegistryRoot root, const QString &keyPath, const QString &valueName);
    static int deleteRegistryValue(const RegistryKey &key, const QString &valueName);
    // Removes the key and everything below it. A root cannot be deleted.
    static int deleteRegistryKey(RegistryRoot root, const QString &keyPath);

    static int enumRegistrySubKeys(const RegistryKey &key, QStringList &names);
    // The key's default value, when set, is listed as "".
    static int enumRegistryValues(const RegistryKey &key, QStringList &names);
};
