#pragma once

#include <QString>
#include <QStringList>

// The registry key that says the program is integrated with the browsers,
// and what its toolbar button and page menu entry show and run. The bridge
// host reads Exec from it to start the program.
class IntegrationKey
{
public:
    static constexpr const char *kKeyPath =
        "Software\\Microsoft\\Internet Explorer\\Extensions\\{7C41D2E9-3A6B-4F08-9D15-B2E84C6A0F31}";

    // Each value's name and data, in the order they are written.
    struct Value
    {
        QString name;
        QString data;
    };
    static QList<Value> values(const QString &programFolder, const QString &programName);

    // Exec as written; empty when not integrated or unreadable.
    static QString exec();
};
