#pragma once

#include "store/XmlNode.h"

class XmlDocument;

// FOLDER elements of the library document, as the folder commands find,
// measure and make them.
class FolderElements
{
public:
    // The FOLDER carrying `tid`; a null node for an unknown identifier or an
    // element of another kind that happens to carry it.
    static XmlNode byTid(const XmlDocument &dom, const QString &tid);
    // Folder levels from the root down to this folder: 1 for a base folder.
    static int depthOf(const XmlNode &folder);
    // Appends a new folder as the last child of `collection` (FOLDERS or a
    // SUBFOLDERS) with its three children in the library's order.
    static XmlNode appendNew(XmlDocument &dom, XmlNode &collection, const QString &tid, const QString &name);
};
