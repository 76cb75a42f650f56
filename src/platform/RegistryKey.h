#pragma once

#include "platform/RegistryRoot.h"

#include <QString>

// An open key: just where it is. Every operation looks the key up again, so a
// handle to a key deleted in the meantime is noticed rather than resurrected.
class RegistryKey
{
public:
    RegistryKey() = default;
    RegistryKey(RegistryRoot root, const QString &path);

    RegistryRoot root() const { return m_root; }
    // Backslash-separated, as stored: the spelling of the key's creator.
    QString path() const { return m_path; }
    bool isOpen() const { return m_open; }
    void close() { m_open = false; }

private:
    RegistryRoot m_root = RegistryRoot::HKEY_CURRENT_USER;
    QString m_path;
    bool m_open = false;
};
