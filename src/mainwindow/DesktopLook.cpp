#include "mainwindow/DesktopLook.h"

#include "mainwindow/ThemeIcons.h"

#include <QFont>

void DesktopLook::apply()
{
    const QStringList sansSerif = {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                   QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("Microsoft Sans Serif"), sansSerif);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sansSerif);
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    ThemeIcons::useInstalledTheme();
}
