#pragma once

#include <QVariant>

// Value types with the registry's numbers; callers pass them as plain ints,
// and any other number is a valid (if unsupported) type.
enum RegistryValueType : int
{
    REG_NONE = 0,
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
};

// data: QString for REG_SZ, quint32 for REG_DWORD, QByteArray for anything else.
struct RegistryValue
{
    int type = REG_NONE;
    QVariant data;
};
