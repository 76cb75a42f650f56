#include "layout/ViewCommands.h"

#include "mainwindow/frmHelpAbout.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QTabWidget>

ViewCommands::ViewCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    CommandRouter &commands = window.commands();
    commands.on(QStringLiteral("mnuViewIndex"), [this] { showLeftTab(0); });
    commands.on(QStringLiteral("mnuViewSearch"), [this] { showLeftTab(1); });
    commands.on(QStringLiteral("mnuViewFavs"), [this] { showLeftTab(2); });
    commands.on(QStringLiteral("mnuViewNotes"), [this] { showInfoTab(0); });
    commands.on(QStringLiteral("mnuViewPreview"), [this] { showInfoTab(1); });
    commands.on(QStringLiteral("mnuHelpAbout"), [this] { mnuHelpAbout_Click(); });
}

void ViewCommands::showLeftTab(int tab)
{
    m_window.selectLeftTab(tab);
}

// The detail panel hides the tab control while no SitePin is shown; the
// entries then do nothing at all.
void ViewCommands::showInfoTab(int tab)
{
    QTabWidget *tabInfo = m_window.ui().tabInfo;
    if (!tabInfo->isVisibleTo(&m_window))
        return;
    tabInfo->setFocus(Qt::OtherFocusReason);
    tabInfo->setCurrentIndex(tab);
}

void ViewCommands::mnuHelpAbout_Click()
{
    const ProgramEnvironment &environment = m_window.environment();
    if (!environment.desktop)
        return;
    frmHelpAbout about(&m_window, *environment.desktop, environment.fontAvailable);
    about.setWindowModality(Qt::ApplicationModal);
    about.exec();
}
