#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// Copies of a library file in a "backups" folder beside it: one a day,
// `<name>-YYYY-MM-DD.xml`, made before the day's first save, so that it holds
// the library as the day found it; and `<name>-YYYY-MM-DD-HHMMSS.xml`, made
// before a restore replaces the library. Only the last kDaysKept days are
// kept. Each copy is written atomically, with the library's permissions.
class LibraryBackups
{
public:
    static constexpr int kDaysKept = 15;

    struct Backup
    {
        QString path;
        QDate date;
        // Not valid for the day's backup.
        QTime time;
        qint64 size = 0;
    };

    enum class Outcome
    {
        Made,
        AlreadyMade,
        NoLibraryFile,
        Failed,
    };

    struct Result
    {
        Outcome outcome = Outcome::Failed;
        QString errorString;
        QString path;
    };

    explicit LibraryBackups(const QString &libraryPath);

    QString folder() const { return m_folder; }
    QString dailyPath(const QDate &day) const;

    // Copies the library file as it is now to the day's backup, unless the
    // day has one already.
    Result backUpDaily(const QDate &today);
    // Copies the library file as it is now, under the date and time given
    // (the next free second should that name be taken).
    Result backUpNow(const QDateTime &now);
    // Newest first.
    QList<Backup> list() const;
    // Removes the backups of all days but the newest kDaysKept, and what
    // killed backups left behind.
    void removeOld();

private:
    Result copyLibraryTo(const QString &backupPath);
    bool parseName(const QString &fileName, Backup &backup) const;

    QString m_library;
    QString m_folder;
    QString m_baseName;
};
