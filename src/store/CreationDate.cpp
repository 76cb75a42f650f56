#include "store/CreationDate.h"

#include <QLocale>

QString CreationDate::text(const QDate &date)
{
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    // The classic steps below put "20" before every two-digit year; a date of
    // another century, such as an imported bookmark's, keeps its own.
    if (date.year() < 2000 || date.year() > 2099)
        return english.toString(date, QStringLiteral("dd MMM yyyy"));
    // Built like the classic medium date form: 04-Dec-26, then blanks for the
    // dashes, then the century pushed in after the seventh character.
    const QString medium = english.toString(date, QStringLiteral("dd-MMM-yy"));
    QString blanked = medium;
    blanked.replace(QLatin1Char('-'), QLatin1Char(' '));
    return blanked.left(7) + QStringLiteral("20") + blanked.mid(7);
}
