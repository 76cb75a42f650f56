#include "mainwindow/ImageList.h"

#include "mainwindow/ThemeIcons.h"

void ImageList::add(const QString &key, const QIcon &icon)
{
    m_images.insert(key, icon);
}

QIcon ImageList::image(const QString &key) const
{
    return m_images.value(key);
}

QIcon ImageList::pair(const QString &key, const QString &selectedKey) const
{
    const QString pairKey = key + QLatin1Char('\n') + selectedKey;
    if (const auto cached = m_pairs.constFind(pairKey); cached != m_pairs.constEnd())
        return *cached;
    QIcon result;
    const QIcon normal = image(key);
    const QIcon selected = image(selectedKey);
    for (const QSize &size : {QSize(16, 16), QSize(22, 22)}) {
        result.addPixmap(normal.pixmap(size), QIcon::Normal);
        result.addPixmap(selected.pixmap(size), QIcon::Selected);
    }
    m_pairs.insert(pairKey, result);
    return result;
}

ImageList ImageList::folderImages()
{
    ImageList list;
    list.add(QStringLiteral("RootClosed"), ThemeIcons::icon(QStringLiteral("user-home"), QStyle::SP_DriveHDIcon));
    list.add(QStringLiteral("RootOpen"), ThemeIcons::icon(QStringLiteral("user-home"), QStyle::SP_DriveHDIcon));
    list.add(QStringLiteral("ClosedFolder"), ThemeIcons::icon(QStringLiteral("folder"), QStyle::SP_DirClosedIcon));
    list.add(QStringLiteral("OpenFolder"), ThemeIcons::icon(QStringLiteral("folder-open"), QStyle::SP_DirOpenIcon));
    return list;
}

ImageList ImageList::sitePinImages()
{
    ImageList list;
    list.add(QStringLiteral("SitePin"), ThemeIcons::icon(QStringLiteral("text-html"), QStyle::SP_FileLinkIcon));
    list.add(QStringLiteral("SelSitePin"),
             ThemeIcons::icon(QStringLiteral("internet-web-browser"), QStyle::SP_FileLinkIcon));
    return list;
}
