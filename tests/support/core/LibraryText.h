#pragma once

#include <QString>
#include <QStringList>

class XmlDocument;
class XmlNode;

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
    // Folders L1 to L<depth>, T1 to T<depth>, each inside the one before.
    static QString nestedFolders(int depth, const QString &innermostSitePins = {});
    static QString escaped(const QString &text);
    static bool writeFile(const QString &path, const QString &text);
    static QByteArray readFile(const QString &path);
};

// The identifier of the folder an element sits in, "FOLDERS" at the top.
QString parentOf(const XmlDocument &dom, const QString &id);
QStringList elementNames(const XmlNode &element);
