#include "store/LibraryBackups.h"

#include "store/AtomicFile.h"
#include "store/LeftoverFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <sys/stat.h>

namespace {

constexpr const char *kFolderName = "backups";
constexpr const char *kDateFormat = "yyyy-MM-dd";
constexpr const char *kTimeFormat = "HHmmss";

bool newerFirst(const LibraryBackups::Backup &a, const LibraryBackups::Backup &b)
{
    if (a.date != b.date)
        return a.date > b.date;
    // A restore's copy is younger than the day's first backup.
    return a.time.isValid() && (!b.time.isValid() || a.time > b.time);
}

} // namespace

LibraryBackups::LibraryBackups(const QString &libraryPath)
{
    m_library = AtomicFile::resolvedTarget(libraryPath);
    const QFileInfo info(m_library.isEmpty() ? libraryPath : m_library);
    m_folder = info.absolutePath() + QLatin1Char('/') + QLatin1String(kFolderName);
    m_baseName = info.completeBaseName();
}

QString LibraryBackups::dailyPath(const QDate &day) const
{
    return m_folder + QLatin1Char('/') + m_baseName + QLatin1Char('-') + day.toString(QLatin1String(kDateFormat)) +
           QStringLiteral(".xml");
}

LibraryBackups::Result LibraryBackups::backUpDaily(const QDate &today)
{
    const QString path = dailyPath(today);
    if (QFileInfo::exists(path))
        return {Outcome::AlreadyMade, {}, path};
    Result result = copyLibraryTo(path);
    if (result.outcome == Outcome::Made)
        removeOld();
    return result;
}

LibraryBackups::Result LibraryBackups::backUpNow(const QDateTime &now)
{
    QDateTime when = now;
    QString path;
    do {
        path = dailyPath(when.date());
        path.insert(path.size() - 4, QLatin1Char('-') + when.time().toString(QLatin1String(kTimeFormat)));
        when = when.addSecs(1);
    } while (QFileInfo::exists(path));
    return copyLibraryTo(path);
}

LibraryBackups::Result LibraryBackups::copyLibraryTo(const QString &backupPath)
{
    if (m_library.isEmpty())
        return {Outcome::NoLibraryFile, {}, {}};
    QFile library(m_library);
    if (!library.exists())
        return {Outcome::NoLibraryFile, {}, {}};
    if (!library.open(QIODevice::ReadOnly))
        return {Outcome::Failed,
                QStringLiteral("Could not read %1: %2").arg(QDir::toNativeSeparators(m_library), library.errorString()),
                backupPath};
    const QByteArray bytes = library.readAll();
    struct stat info
    {
    };
    const int mode = ::fstat(library.handle(), &info) == 0 ? int(info.st_mode & 0666) : -1;
    library.close();
    if (!QDir().mkpath(m_folder))
        return {Outcome::Failed,
                QStringLiteral("Could not create the folder %1").arg(QDir::toNativeSeparators(m_folder)), backupPath};
    // As with the library itself, taking away the write permission is how a
    // user keeps the folder as it is; root included.
    if ((QFileInfo(m_folder).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther)) == 0)
        return {Outcome::Failed, QStringLiteral("The folder %1 is read-only.").arg(QDir::toNativeSeparators(m_folder)),
                backupPath};
    const SaveResult written = AtomicFile::write(backupPath, bytes, mode);
    if (!written.ok)
        return {Outcome::Failed, written.errorString, backupPath};
    return {Outcome::Made, {}, backupPath};
}

bool LibraryBackups::parseName(const QString &fileName, Backup &backup) const
{
    static const QRegularExpression shape(QStringLiteral("^-(\\d{4}-\\d{2}-\\d{2})(?:-(\\d{6}))?\\.xml$"));
    if (!fileName.startsWith(m_baseName))
        return false;
    const QRegularExpressionMatch match = shape.match(QStringView(fileName).sliced(m_baseName.size()));
    if (!match.hasMatch())
        return false;
    backup.date = QDate::fromString(match.captured(1), QLatin1String(kDateFormat));
    backup.time = match.hasCaptured(2) ? QTime::fromString(match.captured(2), QLatin1String(kTimeFormat)) : QTime();
    return backup.date.isValid() && (!match.hasCaptured(2) || backup.time.isValid());
}

QList<LibraryBackups::Backup> LibraryBackups::list() const
{
    QList<Backup> backups;
    const QFileInfoList files = QDir(m_folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        Backup backup;
        if (!file.isSymLink() && parseName(file.fileName(), backup)) {
            backup.path = file.absoluteFilePath();
            backup.size = file.size();
            backups.append(backup);
        }
    }
    std::sort(backups.begin(), backups.end(), newerFirst);
    return backups;
}

void LibraryBackups::removeOld()
{
    const QList<Backup> backups = list();
    QList<QDate> days;
    for (const Backup &backup : backups) {
        if (!days.contains(backup.date))
            days.append(backup.date);
        if (days.size() > kDaysKept)
            QFile::remove(backup.path);
    }
    LeftoverFiles::removeIn(m_folder, [this](const QString &target) {
        Backup backup;
        return parseName(target, backup);
    });
}
