#include "ScopedVariable.h"

ScopedVariable::ScopedVariable(const char *name, const QString &value)
    : m_name(name)
    , m_old(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
{
    set(value.isNull() ? std::nullopt : std::optional(value.toUtf8()));
}

ScopedVariable::~ScopedVariable()
{
    set(m_old);
}

void ScopedVariable::set(const std::optional<QByteArray> &value)
{
    if (value)
        qputenv(m_name, *value);
    else
        qunsetenv(m_name);
}
