#include "LibraryText.h"

#include "TestFiles.h"
#include "store/XmlDocument.h"

QString LibraryText::internalSubset()
{
    return QStringLiteral("<!DOCTYPE FOLDERS [\n"
                          "<!ATTLIST FOLDER TID ID #REQUIRED>\n"
                          "<!ATTLIST SITEPIN WID ID #REQUIRED>\n"
                          "]>\n");
}

QString LibraryText::document(const QString &body, bool declareIds)
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    if (declareIds)
        text += internalSubset();
    return text + QStringLiteral("<FOLDERS>") + body + QStringLiteral("</FOLDERS>\n");
}

QString LibraryText::folder(int tid, const QString &name, const QString &sitePins, const QString &subFolders)
{
    return QStringLiteral(
               "<FOLDER TID=\"T%1\"><NAME>%2</NAME><SITEPINS>%3</SITEPINS><SUBFOLDERS>%4</SUBFOLDERS></FOLDER>")
        .arg(tid)
        .arg(escaped(name), sitePins, subFolders);
}

QString LibraryText::sitePin(int wid, const QString &name, const QString &address, const QString &notes,
                             const QString &fav, const QString &description)
{
    return QStringLiteral("<SITEPIN WID=\"W%1\"><NAME>%2</NAME><ADDRESS>%3</ADDRESS>"
                          "<CREATED_DATE>04 Dec 2026</CREATED_DATE><DESCRIPTION>%4</DESCRIPTION>"
                          "<NOTES>%5</NOTES><KEYWORD1/><KEYWORD2/><FAV>%6</FAV></SITEPIN>")
        .arg(wid)
        .arg(escaped(name), escaped(address), escaped(description), escaped(notes), escaped(fav));
}

QString LibraryText::nestedFolders(int depth, const QString &innermostSitePins)
{
    QString body;
    for (int level = depth; level >= 1; --level)
        body = folder(level, QStringLiteral("L%1").arg(level), level == depth ? innermostSitePins : QString(), body);
    return body;
}

QString LibraryText::escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

bool LibraryText::writeFile(const QString &path, const QString &text)
{
    return TestFiles::write(path, text.toUtf8());
}

QByteArray LibraryText::readFile(const QString &path)
{
    return TestFiles::read(path);
}

QString parentOf(const XmlDocument &dom, const QString &id)
{
    const XmlNode collection = dom.nodeFromID(id).parentNode();
    return collection.nodeName() == "FOLDERS" ? "FOLDERS" : collection.parentNode().getAttribute("TID");
}

QStringList elementNames(const XmlNode &element)
{
    QStringList names;
    for (const XmlNode &child : element.childElements())
        names << child.nodeName();
    return names;
}
