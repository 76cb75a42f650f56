#include "platform/DefaultWebBrowser.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int kQueryTimeoutMs = 2000;

QString firstLineOf(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return {};
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kQueryTimeoutMs)) {
        process.kill();
        process.waitForFinished(kQueryTimeoutMs);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// Exec values escape with a backslash inside quotes and double a literal %.
bool isFieldCode(const QString &argument)
{
    return argument.size() == 2 && argument.at(0) == QLatin1Char('%') && argument.at(1) != QLatin1Char('%');
}

} // namespace

bool DefaultWebBrowser::start()
{
    const QString entry = desktopEntryName();
    if (entry.isEmpty())
        return false;
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    const QStringList command = path.isEmpty() ? QStringList() : launchCommand(path);
    if (command.isEmpty())
        return false;
    return QProcess::startDetached(command.first(), command.mid(1));
}

QString DefaultWebBrowser::desktopEntryName()
{
    QString name =
        firstLineOf(QStringLiteral("xdg-settings"), {QStringLiteral("get"), QStringLiteral("default-web-browser")});
    if (name.isEmpty())
        name = firstLineOf(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                        QStringLiteral("x-scheme-handler/https")});
    // Only a plain file name is looked up among the desktop entries.
    if (!name.endsWith(QLatin1String(".desktop")) || name.contains(QLatin1Char('/')))
        return {};
    return name;
}

QStringList DefaultWebBrowser::launchCommand(const QString &desktopFilePath)
{
    QFile file(desktopFilePath);
    // A desktop entry is a few kilobytes; anything far larger is not one.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1024 * 1024)
        return {};
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inMainGroup = line == QLatin1String("[Desktop Entry]");
        else if (inMainGroup && line.startsWith(QLatin1String("Exec=")))
            return commandFromExec(line.mid(5));
    }
    return {};
}

QStringList DefaultWebBrowser::commandFromExec(const QString &exec)
{
    QStringList command;
    for (QString argument : QProcess::splitCommand(exec)) {
        if (isFieldCode(argument))
            continue;
        command.append(argument.replace(QLatin1String("%%"), QLatin1String("%")));
    }
    return command;
}
