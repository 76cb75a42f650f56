#pragma once

// The program's look on a Linux desktop: the windows are designed for
// "Microsoft Sans Serif" and "Verdana" at small sizes, so those names are
// mapped to the closest installed fonts (metric-compatible ones first),
// and pictures come from the installed icon theme.
class DesktopLook
{
public:
    static void apply();
};
