#pragma once

#include "store/XmlNode.h"

#include <QString>
#include <QStringList>

class XmlDocument;

// A folder named by the names of the folders leading to it from the top,
// joined by "/" ("Work/Reading"). Names are compared without regard to case,
// as everywhere in the program; of folders with the same name the first
// one counts. A name that itself holds "/" cannot be reached this way.
class FolderPath
{
public:
    // The names, blanks trimmed, empty ones ("a//b", a leading "/") dropped.
    static QStringList split(const QString &path);
    // The folder, or a null node when there is none at this path.
    static XmlNode find(const XmlDocument &dom, const QStringList &names);
    // The sub-folder of `container` (FOLDERS or a folder's SUBFOLDERS).
    static XmlNode child(const XmlNode &container, const QString &name);
    // "Work/Reading" for the folder element.
    static QString of(const XmlNode &folder);
};
