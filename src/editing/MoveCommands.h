#pragma once

#include <QObject>

class frmSitePins;

// Moving SitePins and folders, by dialog and by drag and drop.
class MoveCommands : public QObject
{
    Q_OBJECT

public:
    explicit MoveCommands(frmSitePins &window);

private:
    frmSitePins &m_window;
};
