#pragma once

#include <QIcon>
#include <QStyle>

// Pictures come from the installed Tango icon theme; Qt's own standard
// icons stand in when it is missing.
class ThemeIcons
{
public:
    static void useInstalledTheme();
    static QIcon icon(const QString &themeName, QStyle::StandardPixmap fallback);
};
