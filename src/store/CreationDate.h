#pragma once

#include <QDate>
#include <QString>

// The text stored in CREATED_DATE, e.g. "04 Dec 2026". Month names are
// always English so the stored format does not follow the desktop language.
class CreationDate
{
public:
    static QString text(const QDate &date);
};
