#include "mainwindow/ProgramStart.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return ProgramStart::run(app);
}
