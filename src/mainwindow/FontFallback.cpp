#include "mainwindow/FontFallback.h"

#include <QFontDatabase>
#include <QWidget>

bool FontFallback::isFontAvailable(const QStringList &families)
{
    for (const QString &family : families) {
        if (family == QLatin1String(kDesignFont))
            return true;
    }
    return false;
}

bool FontFallback::isFontAvailable()
{
    return isFontAvailable(QFontDatabase::families());
}

void FontFallback::applyFontToControls(const QString &fontName, QWidget *window)
{
    const QList<QWidget *> controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->font().family() == QLatin1String("Verdana"))
            continue;
        QFont font = control->font();
        font.setFamily(fontName);
        control->setFont(font);
    }
}

void FontFallback::applyIfMissing(bool fontAvailable, QWidget *window)
{
    if (!fontAvailable)
        applyFontToControls(QString::fromLatin1(kFallbackFont), window);
}
