#pragma once

#include <QHash>
#include <QString>

#include <functional>

// Routes the command surface's named commands to whichever part of the
// program implements them. A command nobody has claimed does nothing.
class CommandRouter
{
public:
    void on(const QString &name, std::function<void()> handler);
    bool run(const QString &name) const;
    bool has(const QString &name) const { return m_handlers.contains(name); }

    // The command a toolbar button runs; empty for separators.
    static QString commandForToolbarButton(int index);

private:
    QHash<QString, std::function<void()>> m_handlers;
};
