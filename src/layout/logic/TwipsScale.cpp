#include "layout/logic/TwipsScale.h"

#include <cmath>

namespace {

double twipsPerPixel(double dpi)
{
    return TwipsScale::kTwipsPerInch / (dpi > 0 ? dpi : TwipsScale::kStandardDpi);
}

} // namespace

TwipsScale::TwipsScale(double dpiX, double dpiY)
    : m_twipsPerPixelX(twipsPerPixel(dpiX))
    , m_twipsPerPixelY(twipsPerPixel(dpiY))
{
}

int TwipsScale::toPixelsX(double twips) const
{
    return static_cast<int>(std::lround(twips / m_twipsPerPixelX));
}

int TwipsScale::toPixelsY(double twips) const
{
    return static_cast<int>(std::lround(twips / m_twipsPerPixelY));
}

double TwipsScale::toTwipsX(double pixels) const
{
    return pixels * m_twipsPerPixelX;
}

double TwipsScale::toTwipsY(double pixels) const
{
    return pixels * m_twipsPerPixelY;
}
