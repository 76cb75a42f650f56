#include "store/LibraryElements.h"

#include "store/XmlDocument.h"

namespace {

void appendChild(XmlDocument &dom, XmlNode &parent, const char *name, const QString &text = QString())
{
    XmlNode child = dom.createElement(QString::fromLatin1(name));
    parent.appendChild(child);
    if (!text.isEmpty())
        child.setText(text);
}

} // namespace

XmlNode LibraryElements::appendFolder(XmlDocument &dom, XmlNode &collection, const QString &tid, const QString &name)
{
    XmlNode folder = dom.createElement(QStringLiteral("FOLDER"));
    folder.setAttribute(QStringLiteral("TID"), tid);
    collection.appendChild(folder);
    appendChild(dom, folder, "NAME", name);
    appendChild(dom, folder, "SITEPINS");
    appendChild(dom, folder, "SUBFOLDERS");
    return folder;
}

XmlNode LibraryElements::appendSitePin(XmlDocument &dom, XmlNode &sitePins, const QString &wid,
                                       const SitePinFields &fields)
{
    XmlNode sitePin = dom.createElement(QStringLiteral("SITEPIN"));
    sitePin.setAttribute(QStringLiteral("WID"), wid);
    sitePins.appendChild(sitePin);
    appendChild(dom, sitePin, "NAME", fields.name);
    appendChild(dom, sitePin, "ADDRESS", fields.address);
    appendChild(dom, sitePin, "CREATED_DATE", fields.createdDate);
    appendChild(dom, sitePin, "DESCRIPTION", fields.description);
    appendChild(dom, sitePin, "NOTES", fields.notes);
    appendChild(dom, sitePin, "KEYWORD1");
    appendChild(dom, sitePin, "KEYWORD2");
    appendChild(dom, sitePin, "FAV", fields.favourite ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    return sitePin;
}
