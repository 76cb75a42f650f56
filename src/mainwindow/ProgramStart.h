#pragma once

class QApplication;
struct ProgramEnvironment;

// Everything that happens before the main window exists.
class ProgramStart
{
public:
    static int run(QApplication &app);
    // The settings key, in a settings file made usable first; what had to
    // be moved aside is noted in the environment for the window to tell.
    static void prepareSettings(ProgramEnvironment &environment);
};
