#include "exchange/FolderPath.h"

#include "store/XmlDocument.h"

QStringList FolderPath::split(const QString &path)
{
    QStringList names;
    for (const QString &part : path.split(QLatin1Char('/'))) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

XmlNode FolderPath::child(const XmlNode &container, const QString &name)
{
    for (XmlNode folder = container.firstChildElement(); folder; folder = folder.nextSiblingElement()) {
        if (folder.nodeName() == QLatin1String("FOLDER") &&
            folder.selectSingleNode(QStringLiteral("NAME")).text().compare(name, Qt::CaseInsensitive) == 0)
            return folder;
    }
    return {};
}

XmlNode FolderPath::find(const XmlDocument &dom, const QStringList &names)
{
    XmlNode folder;
    XmlNode container = dom.documentElement();
    for (const QString &name : names) {
        folder = child(container, name);
        if (!folder)
            return {};
        container = folder.selectSingleNode(QStringLiteral("SUBFOLDERS"));
    }
    return folder;
}

QString FolderPath::of(const XmlNode &folder)
{
    QStringList names;
    for (XmlNode walk = folder; walk && walk.nodeName() == QLatin1String("FOLDER");
         walk = walk.parentNode().parentNode())
        names.prepend(walk.selectSingleNode(QStringLiteral("NAME")).text());
    return names.join(QLatin1Char('/'));
}
