#include "mainwindow/ProgramIdentity.h"

#include <QApplication>
#include <QDir>

void ProgramIdentity::apply(QApplication &app, const QString &programFolder)
{
    QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
    QApplication::setApplicationDisplayName(QString::fromLatin1(kDisplayName));
    QApplication::setApplicationVersion(QStringLiteral(SITEPINS_VERSION));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    app.setWindowIcon(windowIcon(programFolder));
}

QIcon ProgramIdentity::windowIcon(const QString &programFolder)
{
    const QString name = QString::fromLatin1(kDesktopId);
    if (QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    QIcon drawn;
    const QDir theme(QDir(programFolder).filePath(QStringLiteral("icons/hicolor")));
    for (const QString &size : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = theme.filePath(size + QStringLiteral("/apps/") + name + QStringLiteral(".png"));
        if (QFileInfo::exists(file))
            drawn.addFile(file);
    }
    return drawn;
}
