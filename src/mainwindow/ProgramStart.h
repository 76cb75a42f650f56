#pragma once

class QApplication;

// Everything that happens before the main window exists.
class ProgramStart
{
public:
    static int run(QApplication &app);
};
