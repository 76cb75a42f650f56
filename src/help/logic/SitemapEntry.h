#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One entry of a help file's contents or index: its caption, the topics it
// leads to (archive paths as the file wrote them, "page.htm#anchor"), and
// the entries nested under it.
struct SitemapEntry
{
    QString name;
    QStringList locals;
    QList<SitemapEntry> children;
};
