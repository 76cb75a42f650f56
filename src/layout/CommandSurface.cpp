#include "layout/CommandSurface.h"

#include "mainwindow/ThemeIcons.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

struct ButtonSpec
{
    const char *tooltip; // nullptr: separator
    const char *themeIcon;
    QStyle::StandardPixmap fallback;
};

const ButtonSpec kButtons[CommandSurface::kToolbarButtonCount] = {
    {"Create SitePin", "bookmark-new", QStyle::SP_FileIcon},
    {"Modify SitePin", "document-properties", QStyle::SP_FileDialogDetailedView},
    {"Delete SitePin", "edit-delete", QStyle::SP_TrashIcon},
    {nullptr, nullptr, QStyle::SP_CustomBase},
    {"First SitePin", "go-first", QStyle::SP_MediaSkipBackward},
    {"Previous SitePin", "go-previous", QStyle::SP_ArrowBack},
    {"Next SitePin", "go-next", QStyle::SP_ArrowForward},
    {"Last SitePin", "go-last", QStyle::SP_MediaSkipForward},
    {nullptr, nullptr, QStyle::SP_CustomBase},
    {"Search", "edit-find", QStyle::SP_FileDialogContentsView},
    {nullptr, nullptr, QStyle::SP_CustomBase},
    {"Create folder", "folder-new", QStyle::SP_FileDialogNewFolder},
    {"Modify folder", "folder-open", QStyle::SP_DirOpenIcon},
    {"Delete folder", "user-trash", QStyle::SP_TrashIcon},
    {nullptr, nullptr, QStyle::SP_CustomBase},
    {"Open SitePin in Browser", "internet-web-browser", QStyle::SP_ComputerIcon},
    {"Get SitePin from browser", "go-jump", QStyle::SP_ArrowDown},
    {"Open blank browser", "window-new", QStyle::SP_TitleBarNormalButton},
    {nullptr, nullptr, QStyle::SP_CustomBase},
    {"Save", "document-save", QStyle::SP_DialogSaveButton},
    {"Cancel", "process-stop", QStyle::SP_DialogCancelButton},
};

} // namespace

CommandSurface::CommandSurface(QMainWindow *window, QWidget *toolbarParent)
    : QObject(window)
{
    buildMenus(window);
    buildToolbar(toolbarParent);
}

QMenu *CommandSurface::addMenu(QWidget *parent, const QString &name, const QString &caption)
{
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    m_menus.insert(name, menu);
    m_elements.insert(name, menu->menuAction());
    m_order.append(menu->menuAction());
    return menu;
}

QAction *CommandSurface::addEntry(QMenu *menu, const QString &name, const QString &caption, const QString &shortcut)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    m_elements.insert(name, action);
    m_order.append(action);
    connect(action, &QAction::triggered, this, [this, action, name] {
        if (isReachable(action))
            emit menuCommand(name);
    });
    return action;
}

void CommandSurface::addSeparator(QMenu *menu, const QString &name)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(name);
    m_elements.insert(name, separator);
    m_order.append(separator);
}

void CommandSurface::buildMenus(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    const auto topMenu = [&](const QString &name, const QString &caption) {
        QMenu *menu = addMenu(bar, name, caption);
        bar->addMenu(menu);
        return menu;
    };

    QMenu *file = topMenu("mnuFile", "File");
    addEntry(file, "mnuFileOpen", "&Open...", "Ctrl+O");
    addEntry(file, "mnuFileRestore", "&Restore from backup...");
    addEntry(file, "mnuFileImportIE", "Import Internet E&xplorer favorites", "Ctrl+X");
    QMenu *import = addMenu(file, "mnuFileImport", "&Import");
    file->addMenu(import);
    addEntry(import, "mnuFileImportNetscape", "&Netscape bookmark file...");
    addEntry(import, "mnuFileImportXbel", "&XBEL file...");
    addEntry(import, "mnuFileImportFirefox", "&Firefox profile...");
    addEntry(import, "mnuFileImportChromium", "&Chromium or Chrome profile...");
    QMenu *exportTo = addMenu(file, "mnuFileExport", "Ex&port");
    file->addMenu(exportTo);
    addEntry(exportTo, "mnuFileExportNetscape", "&Netscape bookmark file...");
    addEntry(exportTo, "mnuFileExportXbel", "&XBEL file...");
    addEntry(file, "mnuFileExit", "&Exit", "Ctrl+E");

    QMenu *edit = topMenu("mnuEdit", "Edit");
    addEntry(edit, "mnuAddSitePin", "&Create SitePin", "Ctrl+C");
    addEntry(edit, "mnuEditModify", "&Modify SitePin", "Ctrl+M");
    addEntry(edit, "mnuEditDelete", "&Delete SitePin", "Del");
    addSeparator(edit, "mnuEditSeparator");
    addEntry(edit, "mnuAddTopic", "Crea&te Folder...", "Ctrl+T");
    addEntry(edit, "mnuEditModifyTopic", "Modif&y Folder...", "Ctrl+Y");
    addEntry(edit, "mnuEditDeleteTopic", "&Delete Folder", "Shift+Del");
    addSeparator(edit, "mnuEditSeparator1");
    QMenu *clip = addMenu(edit, "mnuEditClip", "Copy to clipboard");
    edit->addMenu(clip);
    addEntry(clip, "mnuEditClipSP", "All current SitePin data");
    addEntry(clip, "mnuEditClipName", "Current SitePin name");
    addEntry(clip, "mnuEditClipURL", "Current SitePin address (URL)");
    addEntry(clip, "mnuEditClipDesc", "Current SitePin description");
    addEntry(clip, "mnuEditClipNotes", "Current SitePin notes");

    QMenu *go = topMenu("mnuNavigate", "Go");
    addEntry(go, "mnuNavFirst", "&First", "F2");
    addEntry(go, "mnuNavPrevious", "&Previous", "F3");
    addEntry(go, "mnuNavNext", "&Next", "F4");
    addEntry(go, "mnuNavLast", "&Last", "F5");

    QMenu *view = topMenu("mnuView", "View");
    addEntry(view, "mnuViewIndex", "&Index", "Ctrl+I");
    addEntry(view, "mnuViewSearch", "&Search", "Ctrl+S");
    addEntry(view, "mnuViewFavs", "&Favorite SitePins", "Ctrl+F");
    addSeparator(view, "mnuViewSep1");
    addEntry(view, "mnuViewNotes", "&Notes", "Ctrl+N");
    addEntry(view, "mnuViewPreview", "&Preview", "Ctrl+P");
    addSeparator(view, "mnuViewSep2");
    addEntry(view, "mnuViewStats", "&Statistics");

    QMenu *tools = topMenu("mnuTools", "Tools");
    addEntry(tools, "mnuToolsOpen", "&Open SitePin in browser", "Ctrl+Ins");
    addEntry(tools, "mnuToolsGet", "&Get SitePin from browser...", "Ctrl+G");
    addEntry(tools, "mnuToolsOpenBlank", "Open &blank browser window", "Ctrl+B");
    addEntry(tools, "mnuToolsCloseAll", "Close all browser windows");
    addSeparator(tools, "mnuToolsSep1");
    addEntry(tools, "mnuToolsIntegrate", "Integ&rate with Browser", "Ctrl+R");
    addEntry(tools, "mnuUndoIntegration", "&Undo Browser Integration", "Ctrl+U");
    addSeparator(tools, "mnuToolsSep2");
    QMenu *search = addMenu(tools, "mnuToolsSearch", "Search");
    tools->addMenu(search);
    addEntry(search, "mnuToolsSearchText", "&Full text", "F6");
    addEntry(search, "mnuToolsSearchName", "&Name", "F7");
    addEntry(search, "mnuToolsSearchAddress", "&Address", "F8");
    addEntry(search, "mnuToolsSearchNotes", "&Notes", "F9");
    addSeparator(tools, "mnuToolsSep3");
    addEntry(tools, "mnuToolsCheckLinks", "Check &links...");
    addEntry(tools, "mnuToolsFindDuplicates", "Find &duplicates...");

    QMenu *favs = topMenu("mnuFavs", "Favorites");
    addEntry(favs, "mnuFavsAdd", "&Add to Favorite SitePins", "Ctrl+A");
    addEntry(favs, "mnuFavsDelete", "&Delete from Favorite SitePins", "Ctrl+D");

    QMenu *help = topMenu("mnuHelp", "Help");
    addEntry(help, "mnuHelpTopics", "&Help Contents...", "F1");
    addSeparator(help, "mnuHelpSeparator");
    addEntry(help, "mnuHelpAbout", "&About SitePins Manager...", "Ctrl+H");
    addEntry(help, "mnuHelpWeb", "SitePins on the &Web...");

    // Never on the menu bar: opened by the SitePin lists' right mouse button.
    m_popup = addMenu(window, "mnuStartSP", "StartSP");
    addEntry(m_popup, "mnuOpenSP", "Open SitePin in browser");
}

void CommandSurface::buildToolbar(QWidget *parent)
{
    m_toolbar = new QToolBar(parent);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int index = 1; index <= kToolbarButtonCount; ++index) {
        const ButtonSpec &design = kButtons[index - 1];
        QAction *button = nullptr;
        if (!design.tooltip) {
            button = m_toolbar->addSeparator();
        } else {
            button = m_toolbar->addAction(ThemeIcons::icon(QString::fromLatin1(design.themeIcon), design.fallback),
                                          QString::fromLatin1(design.tooltip));
            button->setToolTip(QString::fromLatin1(design.tooltip));
            connect(button, &QAction::triggered, this, [this, index] { emit toolbarButtonClicked(index); });
        }
        button->setObjectName(QStringLiteral("Toolbar1Button%1").arg(index));
        button->setProperty("buttonIndex", index);
        m_buttons[index - 1] = button;
    }
}

QAction *CommandSurface::element(const QString &name) const
{
    return m_elements.value(name);
}

QMenu *CommandSurface::menu(const QString &name) const
{
    return m_menus.value(name);
}

QAction *CommandSurface::toolbarButton(int index) const
{
    return (index >= 1 && index <= kToolbarButtonCount) ? m_buttons[index - 1] : nullptr;
}

bool CommandSurface::isSeparatorIndex(int index)
{
    return index >= 1 && index <= kToolbarButtonCount && kButtons[index - 1].tooltip == nullptr;
}

void CommandSurface::setEnabled(const QString &name, bool enabled)
{
    if (QAction *action = element(name))
        action->setEnabled(enabled);
}

bool CommandSurface::isEnabled(const QString &name) const
{
    const QAction *action = element(name);
    return action && action->isEnabled();
}

void CommandSurface::setButtonEnabled(int index, bool enabled)
{
    if (QAction *button = toolbarButton(index))
        button->setEnabled(enabled);
}

void CommandSurface::setButtonVisible(int index, bool visible)
{
    if (QAction *button = toolbarButton(index))
        button->setVisible(visible);
}

bool CommandSurface::isButtonEnabled(int index) const
{
    const QAction *button = toolbarButton(index);
    return button && button->isEnabled();
}

QList<QAction *> CommandSurface::allMenuElements() const
{
    return m_order;
}

bool CommandSurface::isReachable(const QAction *entry) const
{
    if (!entry || !entry->isEnabled())
        return false;
    for (const QObject *walk = entry->parent(); walk; walk = walk->parent()) {
        if (const auto *menu = qobject_cast<const QMenu *>(walk)) {
            if (!menu->menuAction()->isEnabled())
                return false;
        }
    }
    return true;
}
