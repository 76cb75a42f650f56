#include "mainwindow/ProgramStart.h"

#include <QApplication>
#include <QMainWindow>

int ProgramStart::run(QApplication &app)
{
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("SitePins Manager"));
    window.resize(700, 506);
    window.show();
    return app.exec();
}
