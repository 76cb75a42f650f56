#pragma once

#include <QByteArray>
#include <QString>

// The little of HTML the help needs without a browser: a page's text in
// its declared character set, its title, and its words without markup.
class HtmlText
{
public:
    // By a byte order mark or a <meta> charset; UTF-8 otherwise.
    static QString decode(const QByteArray &bytes);
    static QString decodeEntities(const QString &text);
    // The <title>, blanks simplified; empty when there is none.
    static QString title(const QString &html);
    // What a reader sees: no tags, comments, scripts or style sheets.
    static QString plainText(const QString &html);
};
