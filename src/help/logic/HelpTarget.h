#pragma once

#include <QString>

// What the help viewer is asked to open, written as
// "file.chm", "file.chm::/topic.htm", "file.chm>window" or
// "file.chm::/topic.htm>window".
struct HelpTarget
{
    QString file;
    QString topic;  // without the "::" and the leading "/"; may carry "#anchor"
    QString window; // a window type of the help file; blanks trimmed

    static HelpTarget parse(const QString &text);
    QString toString() const;
};
