#pragma once

#include "platform/RegistryValue.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One registry root in memory, and its INI file:
//
//   [Software\KelvaneSoft\SitePins]
//   TabIndex=sz:0
//   Count=dword:0000002a
//   @=sz:the key's default value
//
// Lines before the first section hold the root's own values. Every key has a
// section of its own, also without values, so that an empty key survives a
// round trip. Names match without regard to case and keep the spelling of
// whoever created them. Values of types this program does not write are kept
// as found.
class RegistryFile
{
public:
    // Far beyond what this program writes; past it the file is not ours.
    static constexpr qint64 kMaxFileSize = 1024 * 1024;

    enum class LoadResult
    {
        Loaded,
        // The file could not be read: no permission, an I/O error.
        Unreadable,
        // What is there is no settings file of ours: not our syntax, larger
        // than kMaxFileSize, or no regular file (a FIFO would block the
        // read, a link to a device would never end it).
        Damaged,
    };

    RegistryFile();

    // A file that does not exist yet is an empty registry.
    LoadResult load(const QString &filePath);
    // The old file stays whole unless the new one was written completely.
    bool save(const QString &filePath);
    QString errorString() const { return m_errorString; }

    bool parse(const QByteArray &text);
    QByteArray serialize() const;

    static QStringList splitPath(const QString &keyPath);

    // The stored spelling of the key, if it exists; the root is "".
    std::optional<QString> findKey(const QStringList &segments) const;
    // Creates missing parents too; returns the stored spelling.
    QString createKey(const QStringList &segments);
    // Removes the key and everything below it.
    void removeKey(const QString &keyPath);
    QStringList subKeyNames(const QString &keyPath) const;

    // The empty name is the key's default value.
    std::optional<RegistryValue> value(const QString &keyPath, const QString &name) const;
    void setValue(const QString &keyPath, const QString &name, const RegistryValue &value);
    bool removeValue(const QString &keyPath, const QString &name);
    QStringList valueNames(const QString &keyPath) const;

private:
    struct Entry
    {
        QString name;
        QString data; // as stored in the file, e.g. "sz:0"
    };
    struct Key
    {
        QStringList segments;
        QList<Entry> entries;
        // Case-folded name to index in entries, for keys of many values only.
        QHash<QString, qsizetype> entryIndex;
    };
    // A few values are found quicker by looking at each.
    static constexpr qsizetype kEntriesWithoutIndex = 8;

    qsizetype indexOfKey(const QStringList &segments) const;
    qsizetype indexOfKey(const QString &keyPath) const { return indexOfKey(splitPath(keyPath)); }
    qsizetype ensureKey(const QStringList &segments);
    static qsizetype indexOfEntry(const Key &key, const QString &name);
    static void putEntry(Key &key, Entry entry);
    static void indexEntries(Key &key);
    void reindex();

    QList<Key> m_keys; // m_keys[0] is the root
    // Case-folded segments to index in m_keys: lookups in constant time, so
    // that reading a file stays linear in its size.
    QHash<QStringList, qsizetype> m_keyIndex;
    QString m_errorString;
};
