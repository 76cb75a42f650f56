#pragma once

#include <QHash>
#include <QString>

// The version each of the program's component files reports, where a
// caller asks a file for its version. Files that report none give "".
class FileVersionInfo
{
public:
    void addFile(const QString &path, const QString &version);
    QString fileVersion(const QString &path) const;

private:
    static QString key(const QString &path);

    QHash<QString, QString> m_versions;
};
