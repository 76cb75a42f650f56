#pragma once

#include "help/logic/SitemapEntry.h"

#include <QByteArray>
#include <QList>

// Reads the contents (.hhc) and index (.hhk) files of a help project: HTML
// lists whose items are <OBJECT type="text/sitemap"> with "Name" and
// "Local" parameters, nested by <UL>. Anything else in the page is ignored,
// and a damaged file gives what could be read of it.
class SitemapParser
{
public:
    static QList<SitemapEntry> parse(const QByteArray &html);
};
