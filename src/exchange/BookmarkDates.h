#pragma once

#include <QDate>
#include <QHash>
#include <QString>

// The dates bookmark stores keep, as days in the user's time zone. Every
// store counts time in its own unit from its own start; a zero, a negative
// or an absurd count means the store does not know the date. Conversions to
// and from the time zone are remembered for the quarter hour or the day, as
// each one looks the zone up again and an import or export makes thousands.
class BookmarkDates
{
public:
    QDate fromUnixSeconds(qint64 seconds);
    QDate fromUnixMicroseconds(qint64 microseconds);
    // Counted from 1 January 1601, as Chromium does.
    QDate fromWindowsMicroseconds(qint64 microseconds);
    // The Netscape file's ADD_DATE: seconds, though some writers put
    // milliseconds or microseconds there.
    QDate fromAddDate(const QString &text);
    // ISO 8601, a day alone or a moment with or without a time zone.
    static QDate fromIso(const QString &text);
    // The library's CREATED_DATE text, e.g. "04 Dec 2026".
    static QDate fromCreationDate(QStringView text);

    // Midday of the day, so that the day stays the same in every time zone
    // a reader in this one might use, and across a change of summer time.
    qint64 toUnixSeconds(const QDate &date);

private:
    QHash<qint64, QDate> m_days;
    QHash<QDate, qint64> m_middays;
};
