#pragma once

#include <QFont>
#include <QStringList>

class QWidget;

// The program's windows are designed in "Microsoft Sans Serif"; where that
// font is missing every control but those in "Verdana" is switched to
// "MS Sans Serif", which the font system then maps to its closest match.
class FontFallback
{
public:
    static constexpr const char *kDesignFont = "Microsoft Sans Serif";
    static constexpr const char *kFallbackFont = "MS Sans Serif";

    // The small sans serif text every window is designed in.
    static QFont designFont() { return QFont(QString::fromLatin1(kDesignFont), 8); }
    // True at the first family named exactly "Microsoft Sans Serif".
    static bool isFontAvailable(const QStringList &families);
    static bool isFontAvailable();
    static void applyFontToControls(const QString &fontName, QWidget *window);
    // What every window does at its start.
    static void applyIfMissing(bool fontAvailable, QWidget *window);
};
