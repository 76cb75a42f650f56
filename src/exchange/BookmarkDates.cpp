#include "exchange/BookmarkDates.h"

#include <QDateTime>

namespace {

// Later than any bookmark can have been made: 1 January 3000.
constexpr qint64 kLatestUnixSeconds = 32503680000;
constexpr qint64 kWindowsToUnixMicroseconds = 11644473600LL * 1000000;
// Time zones differ from UTC by whole quarter hours.
constexpr qint64 kQuarterHour = 15 * 60;

} // namespace

QDate BookmarkDates::fromUnixSeconds(qint64 seconds)
{
    if (seconds <= 0 || seconds > kLatestUnixSeconds)
        return {};
    const qint64 quarter = seconds / kQuarterHour;
    auto found = m_days.constFind(quarter);
    if (found == m_days.cend())
        found = m_days.insert(quarter, QDateTime::fromSecsSinceEpoch(quarter * kQuarterHour).toLocalTime().date());
    return *found;
}

QDate BookmarkDates::fromUnixMicroseconds(qint64 microseconds)
{
    return fromUnixSeconds(microseconds / 1000000);
}

QDate BookmarkDates::fromWindowsMicroseconds(qint64 microseconds)
{
    if (microseconds <= kWindowsToUnixMicroseconds)
        return {};
    return fromUnixMicroseconds(microseconds - kWindowsToUnixMicroseconds);
}

QDate BookmarkDates::fromAddDate(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok)
        return {};
    if (value > 1'000'000'000'000'000)
        return fromUnixMicroseconds(value);
    if (value > kLatestUnixSeconds)
        return fromUnixSeconds(value / 1000);
    return fromUnixSeconds(value);
}

QDate BookmarkDates::fromIso(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() == 10)
        return QDate::fromString(trimmed, Qt::ISODate);
    const QDateTime moment = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    return moment.isValid() ? moment.toLocalTime().date() : QDate();
}

// Read by hand: the locale's date parser is slow, and this runs for every
// SitePin of an export.
QDate BookmarkDates::fromCreationDate(QStringView text)
{
    static constexpr const char *kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    text = text.trimmed();
    if (text.size() != 11 || text.at(2) != QLatin1Char(' ') || text.at(6) != QLatin1Char(' '))
        return {};
    bool dayOk = false, yearOk = false;
    const int day = text.first(2).toInt(&dayOk);
    const int year = text.sliced(7).toInt(&yearOk);
    const QStringView month = text.sliced(3, 3);
    for (int m = 0; m < 12; ++m) {
        if (dayOk && yearOk && month == QLatin1String(kMonths[m]))
            return QDate(year, m + 1, day);
    }
    return {};
}

qint64 BookmarkDates::toUnixSeconds(const QDate &date)
{
    auto found = m_middays.constFind(date);
    if (found == m_middays.cend())
        found = m_middays.insert(date, QDateTime(date, QTime(12, 0)).toSecsSinceEpoch());
    return *found;
}
