#include "editing/FolderElements.h"

#include "store/LibraryElements.h"
#include "store/XmlDocument.h"

namespace {

const QString kFolder = QStringLiteral("FOLDER");

} // namespace

XmlNode FolderElements::byTid(const XmlDocument &dom, const QString &tid)
{
    const XmlNode found = dom.nodeFromID(tid);
    return found && found.nodeName() == kFolder ? found : XmlNode();
}

int FolderElements::depthOf(const XmlNode &folder)
{
    int depth = 0;
    for (XmlNode walk = folder; walk; walk = walk.parentNode()) {
        if (walk.nodeName() == kFolder)
            ++depth;
    }
    return depth;
}

XmlNode FolderElements::appendNew(XmlDocument &dom, XmlNode &collection, const QString &tid, const QString &name)
{
    return LibraryElements::appendFolder(dom, collection, tid, name);
}
