#include "editing/DeleteCommands.h"

#include "mainwindow/frmSitePins.h"

DeleteCommands::DeleteCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
}
