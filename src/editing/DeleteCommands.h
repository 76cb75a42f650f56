#pragma once

#include <QObject>

class frmSitePins;

// Deleting the displayed SitePin or the selected folder.
class DeleteCommands : public QObject
{
    Q_OBJECT

public:
    explicit DeleteCommands(frmSitePins &window);

private:
    frmSitePins &m_window;
};
