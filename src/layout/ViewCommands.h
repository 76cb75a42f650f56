#pragma once

#include <QObject>

class frmSitePins;

// The View menu's page selection and the About command.
class ViewCommands : public QObject
{
    Q_OBJECT

public:
    explicit ViewCommands(frmSitePins &window);

    // Left tab 0 Index, 1 Search, 2 Fav's; the switch rules run even when
    // the tab is already shown.
    void showLeftTab(int tab);
    // Right tab 0 Notes, 1 Preview; only while the tab control is shown.
    void showInfoTab(int tab);
    // Modal over the main window; returns when the about window is closed.
    void mnuHelpAbout_Click();

private:
    frmSitePins &m_window;
};
