#pragma once

#include <functional>

// What a bench program's main does: starts the benchmark library, lets the
// bench prepare (a failed preparation stops it before anything is
// measured), runs the benchmarks chosen on the command line.
class BenchRun
{
public:
    using Step = std::function<bool()>;

    static int run(int &argc, char **argv, const Step &prepare = {});
    // The same inside an application object on the offscreen display (unless
    // another is asked for), with settings and the instance channel in a
    // folder of the run's own. `finish` runs while the application object is
    // still there, to close the windows the bench opened.
    static int runWithWidgets(int argc, char **argv, const Step &prepare = {},
                              const std::function<void()> &finish = {});
};
