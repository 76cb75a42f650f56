#include "platform/RegistryKey.h"

RegistryKey::RegistryKey(RegistryRoot root, const QString &path)
    : m_root(root)
    , m_path(path)
    , m_open(true)
{
}
