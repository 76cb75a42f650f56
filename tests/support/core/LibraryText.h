#pragma once

#include <QString>

// Library documents written as text, so a test states exactly what is on disk.
class LibraryText
{
public:
    // The declaration of the shipped empty library: TID and WID are IDs.
    static QString internalSubset();
    static QString document(const QString &body, bool declareIds = true);
    static QString folder(int tid, const QString &name, const QString &sitePins = {}, const QString &subFolders = {});
    static QString sitePin(int wid, const QString &name, const QString &address = {}, const QString &notes = {},
                           const QString &fav = QStringLiteral("FALSE"), const QString &description = {});
    static QString escaped(const QString &text);
    static bool writeFile(const QString &path, const QString &text);
    static QByteArray readFile(const QString &path);
};
