#include "mainwindow/ThemeIcons.h"

#include <QApplication>
#include <QDir>

void ThemeIcons::useInstalledTheme()
{
    for (const QString &path : QIcon::themeSearchPaths()) {
        if (QDir(path).exists(QStringLiteral("Tango/index.theme"))) {
            QIcon::setThemeName(QStringLiteral("Tango"));
            return;
        }
    }
}

QIcon ThemeIcons::icon(const QString &themeName, QStyle::StandardPixmap fallback)
{
    if (QIcon::hasThemeIcon(themeName))
        return QIcon::fromTheme(themeName);
    return QApplication::style()->standardIcon(fallback);
}
