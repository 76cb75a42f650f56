#pragma once

#include <QString>

// Text as HTML and XML files hold it, in element content or in a quoted
// attribute value. Line ends become character references, so that an entry
// stays on one line of the file and its text survives a parser's handling
// of line ends; characters XML cannot hold are dropped.
class MarkupEscape
{
public:
    static void append(QString &out, const QString &text);
};
