#pragma once

#include <QMargins>
#include <QPoint>
#include <QString>

#include <variant>

// The commands of the help viewer, with the numbers callers have always
// passed, and what each takes as its data.
enum HelpCommand : int
{
    HH_DISPLAY_TOPIC = 0,
    HH_DISPLAY_TOC = 1,
    HH_DISPLAY_INDEX = 2,
    HH_DISPLAY_SEARCH = 3,
    HH_KEYWORD_LOOKUP = 13,
    HH_DISPLAY_TEXT_POPUP = 14,
    HH_HELP_CONTEXT = 15,
    HH_CLOSE_ALL = 18,
    HH_ALINK_LOOKUP = 19,
};

// HH_DISPLAY_SEARCH: the words to search for at once; empty opens the page.
struct HelpSearchQuery
{
    QString searchQuery;
};

// HH_KEYWORD_LOOKUP and HH_ALINK_LOOKUP: keywords separated by ";", and
// what to do when none of them is found.
struct HelpLinkRecord
{
    QString keywords;
    QString url; // the topic shown instead
    QString msgText;
    QString msgTitle;
    QString window;
    bool indicateFailure = true;
};

// HH_DISPLAY_TEXT_POPUP: literal text, or the text numbered idString in the
// text file the target names. Colours are 0x00BBGGRR, -1 for the default.
struct HelpPopupRecord
{
    int idString = 0;
    QString text;
    QPoint position;
    qint32 textColor = -1;
    qint32 backColor = -1;
    QMargins margins{-1, -1, -1, -1};
    // "face, size, charset, Bold Italic Underline"
    QString font;
};

// HH_DISPLAY_TOPIC takes a topic path (QString), HH_HELP_CONTEXT a context
// number (qint32); the others take their record or nothing.
using HelpCommandData = std::variant<std::monostate, QString, qint32, HelpSearchQuery, HelpLinkRecord, HelpPopupRecord>;
