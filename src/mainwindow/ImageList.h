#pragma once

#include <QHash>
#include <QIcon>
#include <QString>

// Named pictures for tree nodes: a node shows one picture normally and
// another while it is selected.
class ImageList
{
public:
    void add(const QString &key, const QIcon &icon);
    QIcon image(const QString &key) const;
    // One icon that the view draws as `key`, or as `selectedKey` while selected.
    QIcon pair(const QString &key, const QString &selectedKey) const;

    // The folder tree's pictures: RootClosed, RootOpen, ClosedFolder, OpenFolder.
    static ImageList folderImages();
    // The SitePin lists' pictures: SitePin, SelSitePin.
    static ImageList sitePinImages();

private:
    QHash<QString, QIcon> m_images;
    // Building a pair renders pixmaps: done once per pair, not once per node.
    mutable QHash<QString, QIcon> m_pairs;
};
