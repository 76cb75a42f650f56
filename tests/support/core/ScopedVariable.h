#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Sets an environment variable for one scope, or unsets it for a null value.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const QString &value);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    void set(const std::optional<QByteArray> &value);

    const char *m_name;
    std::optional<QByteArray> m_old;
};
