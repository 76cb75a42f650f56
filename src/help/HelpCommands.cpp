#include "help/HelpCommands.h"

#include "browser/BrowserWindows.h"
#include "help/HelpTopics.h"
#include "help/HelpViewerHost.h"
#include "mainwindow/frmSitePins.h"
#include "platform/InstalledComponents.h"
#include "platform/ui/DesktopServices.h"

#include <QApplication>
#include <QKeyEvent>
#include <QUrl>

HelpCommands::HelpCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
    , m_viewer(new HelpViewerHost(*window.environment().dialogs, window.environment().desktop, this))
{
    CommandRouter &commands = window.commands();
    commands.on(QStringLiteral("mnuHelpTopics"), [this] { mnuHelpTopics_Click(); });
    commands.on(QStringLiteral("mnuHelpWeb"), [this] { mnuHelpWeb_Click(); });
    qApp->installEventFilter(this);
}

HelpCommands::~HelpCommands()
{
    qApp->removeEventFilter(this);
}

QString HelpCommands::helpFilePath() const
{
    return m_window.environment().programFolder + QLatin1Char('/') + QString::fromLatin1(HelpTopics::kHelpFileName);
}

HTMLHelp::Services HelpCommands::services() const
{
    const ProgramEnvironment &environment = m_window.environment();
    return {environment.dialogs, m_viewer, environment.programFolder, InstalledComponents::fileVersions()};
}

void HelpCommands::mnuHelpTopics_Click()
{
    HTMLHelp help(services());
    help.setCHMFile(helpFilePath());
    help.HHDisplayContents();
}

// Goes to the desktop's web browser until the program has a browser
// window of its own to open it in.
// In a new browser window, as any page the program opens.
void HelpCommands::mnuHelpWeb_Click()
{
    m_window.browserWindows().openAddress(QString::fromLatin1(kMakerPage));
}

// The viewer belongs to the window it explains: a modal dialog would
// otherwise keep the user from reading it.
void HelpCommands::showContextHelp(int contextId, QWidget *from)
{
    HTMLHelp help(services());
    help.setCHMFile(helpFilePath());
    help.setHHTopicID(contextId);
    help.setHHShowOnTop(true);
    help.HHDisplayTopicID(from ? from->window() : nullptr);
}

void HelpCommands::closeHelp()
{
    m_viewer->closeAll();
}

int HelpCommands::helpContextOf(QWidget *widget)
{
    for (QWidget *walk = widget; walk; walk = walk->isWindow() ? nullptr : walk->parentWidget()) {
        const QVariant context = walk->property(HelpTopics::kContextProperty);
        if (context.isValid() && context.toInt() != 0)
            return context.toInt();
    }
    return 0;
}

// F1 is the Help Contents shortcut; where a topic is named, the key is
// taken before the shortcut sees it.
bool HelpCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    const int context = helpContextOf(widget);
    if (context == 0)
        return false;
    event->accept();
    if (event->type() == QEvent::KeyPress)
        showContextHelp(context, widget);
    return true;
}
