#include "store/CreationDate.h"

#include <QLocale>

QString CreationDate::text(const QDate &date)
{
    // Built like the classic medium date form: 04-Dec-26, then blanks for the
    // dashes, then the century pushed in after the seventh character.
    const QString medium =
        QLocale(QLocale::English, QLocale::UnitedKingdom).toString(date, QStringLiteral("dd-MMM-yy"));
    QString blanked = medium;
    blanked.replace(QLatin1Char('-'), QLatin1Char(' '));
    return blanked.left(7) + QStringLiteral("20") + blanked.mid(7);
}
