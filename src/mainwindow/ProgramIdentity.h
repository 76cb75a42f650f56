#pragma once

#include <QIcon>
#include <QString>

class QApplication;

// How the desktop knows the program: the name that groups its windows
// (the X11 window class, the Wayland application id, the desktop file) and
// the icon its menu entry shows.
class ProgramIdentity
{
public:
    static constexpr const char *kApplicationName = "SitePins";
    static constexpr const char *kDisplayName = "SitePins Manager";
    // The desktop file's name without ".desktop", and the icon's name.
    static constexpr const char *kDesktopId = "org.sitepins.SitePins";

    static void apply(QApplication &app, const QString &programFolder);
    // From the icon theme once installed; in a build, the PNGs drawn beside
    // the program in icons/hicolor, laid out as in the theme.
    static QIcon windowIcon(const QString &programFolder);
};
