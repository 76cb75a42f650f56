#include "help/logic/ChmArchive.h"

#include <QFile>
#include <QUrl>
#include <QtEndian>

#include <chm_lib.h>

namespace {

// Codes of the records of the project's "#SYSTEM" file.
enum SystemRecord : quint16
{
    kContentsFileRecord = 0,
    kIndexFileRecord = 1,
    kDefaultTopicRecord = 2,
    kTitleRecord = 3,
};

int collectFile(chmFile *, chmUnitInfo *unit, void *context)
{
    static_cast<QStringList *>(context)->append(QString::fromUtf8(unit->path));
    return CHM_ENUMERATOR_CONTINUE;
}

QString recordText(const QByteArray &record)
{
    return QString::fromUtf8(record.constData(), qstrnlen(record.constData(), size_t(record.size())));
}

} // namespace

ChmArchive::ChmArchive(const QString &path)
    : m_path(path)
    , m_file(chm_open(QFile::encodeName(path).constData()))
{
    if (m_file)
        readSystemFile();
}

ChmArchive::~ChmArchive()
{
    if (m_file)
        chm_close(m_file);
}

QStringList ChmArchive::filePaths() const
{
    QStringList paths;
    if (m_file)
        chm_enumerate(m_file, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, &collectFile, &paths);
    return paths;
}

bool ChmArchive::contains(const QString &path) const
{
    chmUnitInfo unit{};
    return m_file && chm_resolve_object(m_file, path.toUtf8().constData(), &unit) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmArchive::read(const QString &path) const
{
    chmUnitInfo unit{};
    if (!m_file || chm_resolve_object(m_file, path.toUtf8().constData(), &unit) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    // A damaged archive may claim any length; nothing in a help file comes near this.
    constexpr LONGUINT64 kLargestFile = 64 * 1024 * 1024;
    if (unit.length > kLargestFile)
        return std::nullopt;
    QByteArray data(qsizetype(unit.length), '\0');
    const LONGINT64 got =
        chm_retrieve_object(m_file, &unit, reinterpret_cast<unsigned char *>(data.data()), 0, LONGINT64(unit.length));
    if (got != LONGINT64(unit.length))
        return std::nullopt;
    return data;
}

QString ChmArchive::archivePath(const QString &link)
{
    QString path = QUrl::fromPercentEncoding(link.section(QLatin1Char('#'), 0, 0).toUtf8());
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    return path;
}

void ChmArchive::readSystemFile()
{
    const QByteArray system = read(QStringLiteral("/#SYSTEM")).value_or(QByteArray());
    for (qsizetype at = 4; at + 4 <= system.size();) {
        const quint16 code = qFromLittleEndian<quint16>(system.constData() + at);
        const quint16 length = qFromLittleEndian<quint16>(system.constData() + at + 2);
        const QByteArray record = system.mid(at + 4, length);
        at += 4 + length;
        switch (code) {
        case kContentsFileRecord:
            m_contentsFile = archivePath(recordText(record));
            break;
        case kIndexFileRecord:
            m_indexFile = archivePath(recordText(record));
            break;
        case kDefaultTopicRecord:
            m_defaultTopic = archivePath(recordText(record));
            break;
        case kTitleRecord:
            m_title = recordText(record);
            break;
        default:
            break;
        }
    }
}

QString ChmArchive::stringAt(quint32 offset) const
{
    const QByteArray strings = read(QStringLiteral("/#STRINGS")).value_or(QByteArray());
    if (offset >= quint32(strings.size()))
        return {};
    return recordText(strings.mid(offset));
}

// "#IVB" pairs each number with an offset into "#STRINGS". chmcmd stores
// the source file's path there (even its absolute path on the build
// machine), so the topic is found by its file name.
QString ChmArchive::topicForContext(int contextId) const
{
    const QByteArray map = read(QStringLiteral("/#IVB")).value_or(QByteArray());
    for (qsizetype at = 4; at + 8 <= map.size(); at += 8) {
        if (qFromLittleEndian<qint32>(map.constData() + at) != contextId)
            continue;
        const QString mapped = stringAt(qFromLittleEndian<quint32>(map.constData() + at + 4));
        const QString fileName = QString(mapped).replace(QLatin1Char('\\'), QLatin1Char('/')).section('/', -1);
        if (fileName.isEmpty())
            return {};
        const QString atRoot = QLatin1Char('/') + fileName;
        if (contains(atRoot))
            return atRoot;
        for (const QString &path : filePaths())
            if (path.endsWith(QLatin1Char('/') + fileName, Qt::CaseInsensitive))
                return path;
        return {};
    }
    return {};
}
