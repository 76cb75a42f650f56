#pragma once

#include "exchange/BookmarkTree.h"

#include <QByteArray>

// XBEL 1.0: notes in each bookmark's <desc>; a description and the
// favourite mark in a <metadata> element of this program's own in <info>.
class XbelWriter
{
public:
    static QByteArray write(const BookmarkTree &tree);
};
