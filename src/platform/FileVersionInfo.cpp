#include "platform/FileVersionInfo.h"

#include <QFileInfo>

QString FileVersionInfo::key(const QString &path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

void FileVersionInfo::addFile(const QString &path, const QString &version)
{
    m_versions.insert(key(path), version);
}

QString FileVersionInfo::fileVersion(const QString &path) const
{
    return m_versions.value(key(path));
}
