#include "browser/FavoritesImport.h"

#include "browser/ImportProgressWindow.h"
#include "browser/logic/InternetShortcut.h"
#include "browser/logic/WindowsDrive.h"
#include "exchange/ImportWriter.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/RegistryFunctions.h"
#include "store/CreationDate.h"
#include "store/LibraryElements.h"
#include "store/LibraryLimits.h"

#include <QDir>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <dirent.h>

namespace {

// Links are followed: on a newer Windows drive "Documents and Settings"
// is a link to the profiles' folder. Callers keep a link back up the tree
// from going round for ever.
QFileInfoList subFoldersOf(const QString &folder)
{
    return QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

// Asked of the system itself: QDir lists an unreadable folder as empty.
bool isListable(const QString &folder)
{
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
}

} // namespace

FavoritesImport::FavoritesImport(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    window.commands().on(QStringLiteral("mnuFileImportIE"), [this] { mnuFileImportIE_Click(); });
}

FavoritesImport::~FavoritesImport() = default;

void FavoritesImport::mnuFileImportIE_Click()
{
    if (!confirmImport())
        return;
    beginBusy();
    const Counts before = countNow();
    m_progress->setFolderLine(QStringLiteral("Searching for favorites folders..."));
    m_favoritesFolders.clear();

    m_root = driveRoot();
    if (m_root.isEmpty()) {
        m_window.message(QStringLiteral("C:\\ not found"));
        endBusy();
        return;
    }
    if (!subFoldersOf(m_root).isEmpty()) {
        m_visited.clear();
        findFavoritesFolders(m_root);
        m_progress->advanceToAtLeast98();
    } else {
        m_window.message(QStringLiteral("C:\\ has no sub-folders"));
    }
    if (m_favoritesFolders.isEmpty() && !isCancelled())
        m_window.message(QStringLiteral("The Internet Explorer Favorites directory could not be located on C:\\"));
    else
        importEachFavoritesFolder();

    if (isCancelled()) {
        revertImport();
        endBusy();
        return;
    }
    m_window.saveLibrary();
    showImportedFolder();
    m_progress->advanceToAtLeast98();
    m_progress->setBar(100);
    const bool stoppedEarly = isOutOfIdentifiers();
    endBusy();
    reportOutcome(before, stoppedEarly);
}

bool FavoritesImport::confirmImport()
{
    return m_window.message(QStringLiteral("You are about to import all Internet Explorer favorite folders and "
                                           "Internet shortcuts on this computer into SitePins.  Do you wish to "
                                           "proceed?"),
                            QStringLiteral("Import favorites?"), MessageButtons::YesNo, MessageIcon::None,
                            MessageAnswer::Yes) == MessageAnswer::Yes;
}

void FavoritesImport::beginBusy()
{
    m_writer = std::make_unique<ImportWriter>(m_window.getMyDB(), m_window.m_objDOMSitePins);
    m_lastTopTid.clear();
    m_skipped = 0;
    m_progress = std::make_unique<ImportProgressWindow>(m_window);
    m_progress->begin();
}

void FavoritesImport::endBusy()
{
    m_progress.reset();
    m_writer.reset();
}

bool FavoritesImport::isCancelled() const
{
    return m_progress && m_progress->isCancelled();
}

bool FavoritesImport::isOutOfIdentifiers() const
{
    return m_writer && m_writer->outOfIdentifiers();
}

FavoritesImport::Counts FavoritesImport::countNow() const
{
    Counts counts;
    for (QTreeWidgetItemIterator it(m_window.ui().tvwTopics); *it; ++it)
        ++counts.treeNodes;
    counts.sitePins = m_window.getMyDB().countElements(QStringLiteral("SITEPIN"));
    return counts;
}

QString FavoritesImport::driveRoot() const
{
    const QString setting = RegistryFunctions::getRegistryValue(RegistryRoot::HKEY_CURRENT_USER,
                                                                QString::fromLatin1(TabIndexSetting::kKeyPath),
                                                                QString::fromLatin1(kDriveSetting))
                                .toString();
    return WindowsDrive::locate(setting, QDir::homePath());
}

bool FavoritesImport::firstVisit(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || m_visited.contains(canonical))
        return false;
    m_visited.insert(canonical);
    return true;
}

void FavoritesImport::findFavoritesFolders(const QString &folder)
{
    m_progress->advanceALittle();
    m_progress->keepResponsive();
    if (isCancelled() || !firstVisit(folder))
        return;
    if (QFileInfo(folder).fileName().compare(QLatin1String("Favorites"), Qt::CaseInsensitive) == 0) {
        m_favoritesFolders.append(folder);
        m_progress->setFolderLine(folder);
        m_progress->keepResponsive(true);
    }
    for (const QFileInfo &sub : subFoldersOf(folder)) {
        if (WindowsDrive::isSearched(WindowsDrive::windowsPath(m_root, sub.absoluteFilePath())))
            findFavoritesFolders(sub.absoluteFilePath());
        if (isCancelled())
            return;
    }
}

void FavoritesImport::importEachFavoritesFolder()
{
    QTreeWidgetItem *root = m_window.folderTree().rootNode();
    for (qsizetype n = 0; n < m_favoritesFolders.size() && !mustStop(); ++n) {
        const QString folder = m_favoritesFolders.at(n);
        m_progress->setBar(1);
        m_progress->setBar(5);
        const XmlNode top = createImportFolder(QFileInfo(folder).fileName() + QString::number(n + 1), XmlNode());
        if (!top)
            break;
        m_lastTopTid = top.getAttribute(QStringLiteral("TID"));
        m_visited.clear();
        importFavoritesFolder(folder, true, top, 1);
        if (isCancelled())
            break;
        if (root)
            m_window.folderTree().addFolderNode(top, root, true);
        m_progress->advanceToAtLeast98();
    }
}

void FavoritesImport::importFavoritesFolder(const QString &folder, bool top, XmlNode folderElement, int depth)
{
    m_progress->setFolderLine(QFileInfo(folder).fileName());
    m_progress->keepResponsive();
    if (!firstVisit(folder))
        return;
    // A folder that cannot be listed is left out and counted; so is one
    // nested deeper than the library can hold.
    if (!isListable(folder) || depth > LibraryLimits::kMaxFolderDepth) {
        ++m_skipped;
        return;
    }
    XmlNode current = folderElement;
    if (!top) {
        current = createImportFolder(QFileInfo(folder).fileName(), folderElement);
        if (!current)
            return;
    }
    const QFileInfoList files =
        QDir(folder).entryInfoList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &file : files) {
        if (mustStop())
            return;
        importShortcutFile(file.absoluteFilePath(), current);
    }
    for (const QFileInfo &sub : subFoldersOf(folder)) {
        if (mustStop())
            return;
        importFavoritesFolder(sub.absoluteFilePath(), false, current, depth + 1);
    }
}

XmlNode FavoritesImport::createImportFolder(const QString &name, const XmlNode &parent)
{
    const XmlNode folder = parent ? m_writer->addFolder(parent, name) : m_writer->addTopFolder(name);
    if (folder)
        m_progress->setFolderLine(name);
    return folder;
}

void FavoritesImport::importShortcutFile(const QString &file, XmlNode &folderElement)
{
    const InternetShortcut shortcut = InternetShortcut::read(file);
    if (shortcut.outcome == InternetShortcut::Outcome::Unreadable)
        ++m_skipped;
    else if (shortcut.outcome == InternetShortcut::Outcome::Read)
        createImportSitePin(folderElement, shortcut.name, shortcut.address);
}

void FavoritesImport::createImportSitePin(XmlNode &folderElement, const QString &name, const QString &address)
{
    m_progress->setItemLine(name);
    m_progress->advanceALittle();
    m_progress->keepResponsive();
    SitePinFields fields;
    fields.name = name;
    fields.address = QString(address).replace(QLatin1String("%20"), QLatin1String(" "));
    fields.createdDate = CreationDate::text(m_window.environment().today());
    m_writer->addSitePin(folderElement, fields);
}

// A cancelled import leaves the library as it was: nothing is saved, and
// what was added in memory goes again.
void FavoritesImport::revertImport()
{
    FolderTree &tree = m_window.folderTree();
    for (const XmlNode &top : m_writer->topFolders()) {
        if (QTreeWidgetItem *node = tree.findNodeByTag(top.getAttribute(QStringLiteral("TID"))))
            delete node;
    }
    m_writer->revert();
}

void FavoritesImport::showImportedFolder()
{
    FolderTree &tree = m_window.folderTree();
    if (!m_lastTopTid.isEmpty()) {
        if (QTreeWidgetItem *node = tree.findNodeByTag(m_lastTopTid))
            tree.selectNode(node);
    }
    tree.populateSitePinList(tree.selectedNode());
    if (QTreeWidgetItem *root = tree.rootNode())
        TreeNode::sortChildren(root);
}

void FavoritesImport::reportOutcome(const Counts &before, bool stoppedEarly)
{
    if (stoppedEarly) {
        m_window.message(QStringLiteral("The import stopped early: the library already holds the largest number of "
                                        "folders or SitePins it can number (%1). What was imported until then has "
                                        "been saved.")
                             .arg(XMLDatabase::kMaxIdentifierNumber),
                         QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok, MessageIcon::Exclamation);
    }
    const Counts after = countNow();
    QString summary = QStringLiteral("Favorites successfully imported: %1 favorites folders, %2 new folders, %3 new "
                                     "SitePins.")
                          .arg(m_favoritesFolders.size())
                          .arg(qint16(after.treeNodes - before.treeNodes))
                          .arg(qint32(after.sitePins - before.sitePins));
    if (m_skipped > 0)
        summary += QStringLiteral(" %1 folders or files could not be read and were left out.").arg(m_skipped);
    m_window.message(summary, QString::fromLatin1(frmSitePins::kWindowTitle), MessageButtons::Ok,
                     MessageIcon::Information);
}
