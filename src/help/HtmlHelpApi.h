#pragma once

#include "help/logic/HelpCommand.h"

#include <QString>
#include <QWidget>

// The help viewer's one entry point. `file` names the help file, with
// "::/topic" and ">window" parts where wanted; an owned viewer stays above
// its owner. Gives the viewer window's id, or 0 when nothing was shown.
class HtmlHelpApi
{
public:
    virtual ~HtmlHelpApi() = default;
    virtual WId HtmlHelpA(QWidget *owner, const QString &file, int command, const HelpCommandData &data) = 0;
};
