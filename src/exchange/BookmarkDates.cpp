#include "exchange/BookmarkDates.h"

#include <QDateTime>
#include <QLocale>

namespace {

// Later than any bookmark can have been made: 1 January 3000.
constexpr qint64 kLatestUnixSeconds = 32503680000;
constexpr qint64 kWindowsToUnixMicroseconds = 11644473600LL * 1000000;

} // namespace

QDate BookmarkDates::fromUnixSeconds(qint64 seconds)
{
    if (seconds <= 0 || seconds > kLatestUnixSeconds)
        return {};
    return QDateTime::fromSecsSinceEpoch(seconds).toLocalTime().date();
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

QDate BookmarkDates::fromCreationDate(const QString &text)
{
    return QLocale(QLocale::English, QLocale::UnitedKingdom).toDate(text.trimmed(), QStringLiteral("dd MMM yyyy"));
}

qint64 BookmarkDates::toUnixSeconds(const QDate &date)
{
    return QDateTime(date, QTime(12, 0)).toSecsSinceEpoch();
}
