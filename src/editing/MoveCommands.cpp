#include "editing/MoveCommands.h"

#include "mainwindow/frmSitePins.h"

MoveCommands::MoveCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
}
