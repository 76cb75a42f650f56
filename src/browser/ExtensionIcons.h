#pragma once

#include <QByteArray>
#include <QString>

#include <map>

// The PNG images a browser extension shows, made from a Windows icon file:
// for each size asked for, the icon's image of that size, or its next larger
// (else its largest) one scaled to it.
class ExtensionIcons
{
public:
    // Size to PNG bytes; empty when the icon file cannot be read.
    static std::map<int, QByteArray> fromIconFile(const QString &icoPath, const QList<int> &sizes);
};
