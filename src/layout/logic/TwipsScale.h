#pragma once

// Converts between twips (1/1440 inch) and pixels for a screen's logical
// dots per inch: 15 twips per pixel at 96 dpi.
class TwipsScale
{
public:
    static constexpr double kTwipsPerInch = 1440.0;
    static constexpr double kStandardDpi = 96.0;

    // A dpi that is not positive counts as the standard 96.
    TwipsScale(double dpiX, double dpiY);

    double twipsPerPixelX() const { return m_twipsPerPixelX; }
    double twipsPerPixelY() const { return m_twipsPerPixelY; }

    // Nearest pixel, halves away from zero.
    int toPixelsX(double twips) const;
    int toPixelsY(double twips) const;
    double toTwipsX(double pixels) const;
    double toTwipsY(double pixels) const;

private:
    double m_twipsPerPixelX;
    double m_twipsPerPixelY;
};
