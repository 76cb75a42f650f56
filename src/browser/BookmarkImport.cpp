#include "browser/BookmarkImport.h"

#include "browser/ImportProgressWindow.h"
#include "commandline/LibraryCommands.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QDir>
#include <QFileInfo>
#include <QTreeWidget>

BookmarkImport::BookmarkImport(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    CommandRouter &router = window.commands();
    router.on(QStringLiteral("mnuFileImportNetscape"), [this] { mnuFileImportNetscape_Click(); });
    router.on(QStringLiteral("mnuFileImportXbel"), [this] { mnuFileImportXbel_Click(); });
    router.on(QStringLiteral("mnuFileImportFirefox"), [this] { mnuFileImportFirefox_Click(); });
    router.on(QStringLiteral("mnuFileImportChromium"), [this] { mnuFileImportChromium_Click(); });
}

void BookmarkImport::mnuFileImportNetscape_Click()
{
    importChosenFile(BookmarkFormat::Netscape, QStringLiteral("Import a Netscape bookmark file"),
                     QStringLiteral("Bookmark files (*.html *.htm);;All files (*)"));
}

void BookmarkImport::mnuFileImportXbel_Click()
{
    importChosenFile(BookmarkFormat::Xbel, QStringLiteral("Import an XBEL file"),
                     QStringLiteral("XBEL files (*.xbel *.xml);;All files (*)"));
}

void BookmarkImport::mnuFileImportFirefox_Click()
{
    importChosenProfile(BrowserProfiles::firefox(BrowserProfiles::Roots::fromEnvironment()), QStringLiteral("Firefox"),
                        QStringLiteral("~/.mozilla/firefox and ~/.config/mozilla/firefox"));
}

void BookmarkImport::mnuFileImportChromium_Click()
{
    importChosenProfile(BrowserProfiles::chromium(BrowserProfiles::Roots::fromEnvironment()),
                        QStringLiteral("Chromium or Chrome"),
                        QStringLiteral("~/.config/chromium and ~/.config/google-chrome"));
}

void BookmarkImport::importChosenFile(BookmarkFormat format, const QString &title, const QString &filter)
{
    const QString file = m_window.dialogs().getOpenFileName(&m_window, {title, QDir::homePath(), filter});
    if (file.isEmpty())
        return;
    bool cancelled = false;
    const CommandResult result = importFile(file, format, QString(), &cancelled);
    if (!cancelled)
        report(result);
}

void BookmarkImport::importChosenProfile(const std::vector<BrowserProfile> &profiles, const QString &browsers,
                                         const QString &searched)
{
    if (profiles.empty()) {
        m_window.message(QStringLiteral("No %1 profile with bookmarks was found in %2.").arg(browsers, searched),
                         QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok, MessageIcon::Exclamation);
        return;
    }
    QStringList labels;
    for (const BrowserProfile &profile : profiles)
        labels << profile.label();
    const int chosen = m_window.dialogs().chooseItem(
        &m_window, {QStringLiteral("Import from %1").arg(browsers),
                    QStringLiteral("The profile whose bookmarks to import into a new folder:"), labels, 0});
    if (chosen < 0 || chosen >= int(profiles.size()))
        return;
    const BrowserProfile &profile = profiles[size_t(chosen)];
    const BookmarkFormat format =
        profile.browser == QLatin1String("Firefox") ? BookmarkFormat::FirefoxPlaces : BookmarkFormat::ChromiumJson;
    bool cancelled = false;
    const CommandResult result = importFile(profile.bookmarksFile, format, profile.browser, &cancelled);
    if (!cancelled)
        report(result);
}

CommandResult BookmarkImport::importHandedOver(const QString &file)
{
    return importFile(file, std::nullopt, QString());
}

CommandResult BookmarkImport::importFile(const QString &file, std::optional<BookmarkFormat> format,
                                         const QString &source, bool *cancelled)
{
    ImportProgressWindow progress(m_window);
    progress.begin();
    progress.setFolderLine(QFileInfo(file).fileName());
    const auto showProgress = [&progress](const BookmarkEntry &entry, int done, int total) {
        if (entry.isFolder)
            progress.setFolderLine(entry.name);
        else
            progress.setItemLine(entry.name);
        progress.setBar(100.0 * done / std::max(1, total));
        progress.keepResponsive();
        return !progress.isCancelled();
    };
    const LibraryCommands::Library library{m_window.getMyDB(), m_window.m_objDOMSitePins,
                                           m_window.environment().today(), [this] {
                                               return m_window.saveLibraryQuietly();
                                           }};
    LibraryImport::Outcome outcome;
    const CommandResult result = LibraryCommands::import(library, file, format, source, showProgress, &outcome);
    progress.setBar(100);
    progress.end();
    if (cancelled)
        *cancelled = progress.isCancelled();
    if (outcome.topFolder)
        showImportedFolder(outcome.topFolder.getAttribute(QStringLiteral("TID")));
    return result;
}

// The new folder is shown selected, with its SitePins listed.
void BookmarkImport::showImportedFolder(const QString &tid)
{
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *root = tree.rootNode();
    if (!root)
        return;
    QTreeWidgetItem *node = tree.addFolderNode(m_window.m_objDOMSitePins.nodeFromID(tid), root, false);
    TreeNode::sortChildren(root);
    tree.selectNode(node);
    tree.populateSitePinList(node);
}

void BookmarkImport::report(const CommandResult &result)
{
    const bool complete = result.exitCode == 0;
    m_window.message(result.error.isEmpty() ? result.output : result.error,
                     QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok,
                     complete ? MessageIcon::Information : MessageIcon::Exclamation);
}
