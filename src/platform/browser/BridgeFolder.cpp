#include "platform/browser/BridgeFolder.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

QString BridgeFolder::path(QString *error)
{
    QString folder = qEnvironmentVariable("SITEPINS_BRIDGE_DIR");
    if (folder.isEmpty()) {
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (runtime.isEmpty()) {
            setError(error, QStringLiteral("No runtime folder"));
            return {};
        }
        folder = QDir(runtime).filePath(QStringLiteral("SitePins-bridge"));
    }
    return makePrivate(folder, error) ? folder : QString();
}

bool BridgeFolder::makePrivate(const QString &folder, QString *error)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        setError(error,
                 QStringLiteral("Cannot create %1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    // lstat: a symbolic link planted in our place must not lead us elsewhere.
    struct stat info = {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        setError(error, QStringLiteral("%1 is not a folder").arg(folder));
        return false;
    }
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        setError(error, QStringLiteral("%1 belongs to another user or is open to others").arg(folder));
        return false;
    }
    return true;
}

QString BridgeFolder::hostSocketName(qint64 pid)
{
    return QStringLiteral("host-%1.socket").arg(pid);
}

std::optional<qint64> BridgeFolder::hostPidOf(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^host-([1-9][0-9]{0,9})\\.socket$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}
