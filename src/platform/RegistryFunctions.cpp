#include "platform/RegistryFunctions.h"

#include "platform/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <cstdio>
#include <functional>
#include <limits>

namespace {

// Long enough for another process to finish one small rewrite; short enough
// not to hang the program when a lock holder is stuck.
constexpr int kLockTimeoutMs = 5000;
constexpr int kMaxCorruptNames = 100;

Q_LOGGING_CATEGORY(lcRegistry, "sitepins.registry")

int loadRegistry(RegistryRoot root, RegistryFile &file)
{
    const QString path = RegistryFunctions::registryFilePath(root);
    if (path.isEmpty() || file.load(path) != RegistryFile::LoadResult::Loaded)
        return ERROR_CANTREAD;
    return ERROR_SUCCESS;
}

// Looked at without following links: a dangling one still takes the name.
bool nameIsTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Renamed as it is, a link or a FIFO included: nothing in it is lost, and
// whoever wants it back finds it beside the new file. Earlier ones are kept.
QString moveAside(const QString &path)
{
    QString target = path + QStringLiteral(".corrupt");
    for (int n = 2; nameIsTaken(target); ++n) {
        if (n > kMaxCorruptNames)
            return {};
        target = path + QStringLiteral(".corrupt-%1").arg(n);
    }
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0)
        return {};
    return target;
}

// Under the root's lock. A damaged file would otherwise keep every change
// from being saved; moved aside, the root starts empty.
RegistryFile::LoadResult loadOrSetAside(const QString &path, RegistryFile &file, QString *movedTo = nullptr)
{
    const RegistryFile::LoadResult loaded = file.load(path);
    if (loaded != RegistryFile::LoadResult::Damaged)
        return loaded;
    const QString target = moveAside(path);
    if (target.isEmpty())
        return loaded;
    qCWarning(lcRegistry).noquote() << file.errorString() << "- moved aside to" << target;
    file = RegistryFile();
    if (movedTo)
        *movedTo = target;
    return RegistryFile::LoadResult::Loaded;
}

// A read-modify-write under the file's lock, so that two processes changing
// the same root do not lose each other's changes. change() sets its second
// argument when there is something to write.
int modifyRegistry(RegistryRoot root, const std::function<int(RegistryFile &, bool &)> &change)
{
    const QString path = RegistryFunctions::registryFilePath(root);
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return ERROR_CANTWRITE;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockTimeoutMs))
        return ERROR_CANTWRITE;
    RegistryFile file;
    if (loadOrSetAside(path, file) != RegistryFile::LoadResult::Loaded)
        return ERROR_CANTREAD;
    bool changed = false;
    const int result = change(file, changed);
    if (result != ERROR_SUCCESS || !changed)
        return result;
    return file.save(path) ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

// The file as the key expects it: readable, and the key still there.
int loadKey(const RegistryKey &key, RegistryFile &file)
{
    if (!key.isOpen())
        return ERROR_INVALID_HANDLE;
    if (const int result = loadRegistry(key.root(), file); result != ERROR_SUCCESS)
        return result;
    return file.findKey(RegistryFile::splitPath(key.path())) ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

} // namespace

QString RegistryFunctions::registryFilePath(RegistryRoot root)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        return {};
    return config + QStringLiteral("/SitePins/registry/") + registryRootName(root) + QStringLiteral(".ini");
}

QString RegistryFunctions::setAsideDamagedFile(RegistryRoot root)
{
    const QString path = registryFilePath(root);
    if (path.isEmpty() || !QFileInfo(path).absoluteDir().exists())
        return {};
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockTimeoutMs))
        return {};
    RegistryFile file;
    QString movedTo;
    loadOrSetAside(path, file, &movedTo);
    return movedTo;
}

int RegistryFunctions::createRegistryKey(RegistryRoot root, const QString &keyPath, RegistryKey &key)
{
    const QStringList segments = RegistryFile::splitPath(keyPath);
    QString storedPath;
    const int result = modifyRegistry(root, [&](RegistryFile &file, bool &changed) {
        if (const auto existing = file.findKey(segments)) {
            storedPath = *existing;
        } else {
            storedPath = file.createKey(segments);
            changed = true;
        }
        return ERROR_SUCCESS;
    });
    if (result == ERROR_SUCCESS)
        key = RegistryKey(root, storedPath);
    return result;
}

int RegistryFunctions::openRegistryKey(RegistryRoot root, const QString &keyPath, RegistryKey &key)
{
    RegistryFile file;
    if (const int result = loadRegistry(root, file); result != ERROR_SUCCESS)
        return result;
    const auto storedPath = file.findKey(RegistryFile::splitPath(keyPath));
    if (!storedPath)
        return ERROR_FILE_NOT_FOUND;
    key = RegistryKey(root, *storedPath);
    return ERROR_SUCCESS;
}

int RegistryFunctions::closeRegistryKey(RegistryKey &key)
{
    if (!key.isOpen())
        return ERROR_INVALID_HANDLE;
    key.close();
    return ERROR_SUCCESS;
}

int RegistryFunctions::setRegistryValue(const RegistryKey &key, const QString &valueName, int valueType,
                                        const QVariant &value)
{
    RegistryValue stored{valueType, {}};
    if (valueType == REG_SZ) {
        stored.data = value.toString();
    } else if (valueType == REG_DWORD) {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (!ok || number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<quint32>::max())
            return ERROR_INVALID_PARAMETER;
        stored.data = QVariant::fromValue(quint32(number));
    } else {
        return ERROR_SUCCESS;
    }
    if (!key.isOpen())
        return ERROR_INVALID_HANDLE;
    return modifyRegistry(key.root(), [&](RegistryFile &file, bool &changed) {
        if (!file.findKey(RegistryFile::splitPath(key.path())))
            return ERROR_KEY_DELETED;
        file.setValue(key.path(), valueName, stored);
        changed = true;
        return ERROR_SUCCESS;
    });
}

int RegistryFunctions::queryRegistryValue(const RegistryKey &key, const QString &valueName, QVariant &value)
{
    RegistryFile file;
    if (const int result = loadKey(key, file); result != ERROR_SUCCESS)
        return result;
    const auto stored = file.value(key.path(), valueName);
    if (!stored)
        return ERROR_FILE_NOT_FOUND;
    if (stored->type != REG_SZ && stored->type != REG_DWORD)
        return ERROR_UNSUPPORTED_TYPE;
    value = stored->data;
    return ERROR_SUCCESS;
}

QVariant RegistryFunctions::getRegistryValue(RegistryRoot root, const QString &keyPath, const QString &valueName)
{
    RegistryKey key;
    if (openRegistryKey(root, keyPath, key) != ERROR_SUCCESS)
        return {};
    QVariant value;
    queryRegistryValue(key, valueName, value);
    closeRegistryKey(key);
    return value;
}

int RegistryFunctions::deleteRegistryValue(const RegistryKey &key, const QString &valueName)
{
    if (!key.isOpen())
        return ERROR_INVALID_HANDLE;
    return modifyRegistry(key.root(), [&](RegistryFile &file, bool &changed) {
        if (!file.findKey(RegistryFile::splitPath(key.path())))
            return ERROR_KEY_DELETED;
        if (!file.removeValue(key.path(), valueName))
            return ERROR_FILE_NOT_FOUND;
        changed = true;
        return ERROR_SUCCESS;
    });
}

int RegistryFunctions::deleteRegistryKey(RegistryRoot root, const QString &keyPath)
{
    const QStringList segments = RegistryFile::splitPath(keyPath);
    if (segments.isEmpty())
        return ERROR_ACCESS_DENIED;
    return modifyRegistry(root, [&](RegistryFile &file, bool &changed) {
        const auto storedPath = file.findKey(segments);
        if (!storedPath)
            return ERROR_FILE_NOT_FOUND;
        file.removeKey(*storedPath);
        changed = true;
        return ERROR_SUCCESS;
    });
}

int RegistryFunctions::enumRegistrySubKeys(const RegistryKey &key, QStringList &names)
{
    RegistryFile file;
    if (const int result = loadKey(key, file); result != ERROR_SUCCESS)
        return result;
    names = file.subKeyNames(key.path());
    return ERROR_SUCCESS;
}

int RegistryFunctions::enumRegistryValues(const RegistryKey &key, QStringList &names)
{
    RegistryFile file;
    if (const int result = loadKey(key, file); result != ERROR_SUCCESS)
        return result;
    names = file.valueNames(key.path());
    return ERROR_SUCCESS;
}
