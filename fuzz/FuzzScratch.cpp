#include "FuzzScratch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

QString FuzzScratch::folder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/sitepins-fuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();
    return dir.path();
}

QString FuzzScratch::file(const QString &name, const std::uint8_t *data, std::size_t size)
{
    const QString path = folder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}
