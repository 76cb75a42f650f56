#pragma once

// The import's progress bar, a value from 0 to 100 that creeps forward as
// work is found, more slowly the nearer it gets to the end.
class ImportProgress
{
public:
    static double advanceALittle(double value);
    static double advanceToAtLeast98(double value);
};
