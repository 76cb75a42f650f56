#include "browser/logic/ImportProgress.h"

double ImportProgress::advanceALittle(double value)
{
    if (value < 60)
        return value + 1;
    if (value < 80)
        return value + 0.5;
    if (value < 99)
        return value + 0.1;
    return value;
}

double ImportProgress::advanceToAtLeast98(double value)
{
    while (value < 98)
        value += 2;
    return value;
}
