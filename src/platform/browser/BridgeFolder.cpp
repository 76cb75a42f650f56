#include "platform/browser/BridgeFolder.h"

#include "platform/RuntimeFolder.h"

#include <QRegularExpression>

QString BridgeFolder::path(QString *error)
{
    QString folder = qEnvironmentVariable("SITEPINS_BRIDGE_DIR");
    QString why;
    if (folder.isEmpty()) {
        const RuntimeFolder runtime = RuntimeFolder::locate();
        folder = runtime.filePath(QStringLiteral("bridge"));
        why = runtime.errorString();
    }
    if (!folder.isEmpty() && RuntimeFolder::makePrivate(folder, &why))
        return folder;
    if (error)
        *error = why;
    return {};
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
