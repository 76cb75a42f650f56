#include "browser/FavoritesImport.h"

#include "browser/logic/ImportProgress.h"
#include "browser/logic/InternetShortcut.h"
#include "browser/logic/WindowsDrive.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/TabIndexSetting.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmProgress.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/RegistryFunctions.h"
#include "store/CreationDate.h"
#include "store/IdentifierRun.h"
#include "store/LibraryElements.h"
#include "store/LibraryLimits.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <dirent.h>

namespace {

constexpr int kRefreshIntervalMs = 40;

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
    setFolderLine(QStringLiteral("Searching for favorites folders..."));
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
        advanceToAtLeast98();
    } else {
        m_window.message(QStringLiteral("C:\\ has no sub-folders"));
    }
    if (m_favoritesFolders.isEmpty() && !m_cancelled)
        m_window.message(QStringLiteral("The Internet Explorer Favorites directory could not be located on C:\\"));
    else
        importEachFavoritesFolder();

    if (m_cancelled) {
        revertImport();
        endBusy();
        return;
    }
    m_window.saveLibrary();
    showImportedFolder();
    advanceToAtLeast98();
    setBar(100);
    endBusy();
    reportOutcome(before);
}

bool FavoritesImport::confirmImport()
{
    return m_window.message(QStringLiteral("You are about to import all Internet Explorer favorite folders and "
                                           "Internet shortcuts on this computer into SitePins.  Do you wish to "
                                           "proceed?"),
                            QStringLiteral("Import favorites?"), MessageButtons::YesNo, MessageIcon::None,
                            MessageAnswer::Yes) == MessageAnswer::Yes;
}

// The progress window keeps the main window from being used meanwhile: the
// import changes the document the main window shows.
void FavoritesImport::beginBusy()
{
    m_window.ui().tvwTopics->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_identifiers = std::make_unique<IdentifierRun>(m_window.getMyDB());
    m_createdTops.clear();
    m_lastTopTid.clear();
    m_skipped = 0;
    m_cancelled = false;
    m_outOfIdentifiers = false;
    m_bar = 0;
    m_progress = new frmProgress(&m_window, m_window.environment().fontAvailable);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setCancellable(true);
    connect(m_progress, &frmProgress::cancelRequested, this, [this] { m_cancelled = true; });
    m_progress->show();
    m_sinceRefresh.start();
    keepResponsive(true);
}

void FavoritesImport::endBusy()
{
    m_window.ui().tvwTopics->show();
    if (m_progress) {
        m_progress->setCancellable(false);
        m_progress->hide();
        m_progress->close();
    }
    m_identifiers.reset();
    QApplication::restoreOverrideCursor();
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
    advanceALittle();
    keepResponsive();
    if (m_cancelled || !firstVisit(folder))
        return;
    if (QFileInfo(folder).fileName().compare(QLatin1String("Favorites"), Qt::CaseInsensitive) == 0) {
        m_favoritesFolders.append(folder);
        setFolderLine(folder);
        keepResponsive(true);
    }
    for (const QFileInfo &sub : subFoldersOf(folder)) {
        if (WindowsDrive::isSearched(WindowsDrive::windowsPath(m_root, sub.absoluteFilePath())))
            findFavoritesFolders(sub.absoluteFilePath());
        if (m_cancelled)
            return;
    }
}

void FavoritesImport::importEachFavoritesFolder()
{
    QTreeWidgetItem *root = m_window.folderTree().rootNode();
    for (qsizetype n = 0; n < m_favoritesFolders.size() && !mustStop(); ++n) {
        const QString folder = m_favoritesFolders.at(n);
        setBar(1);
        setBar(5);
        const XmlNode top = createImportFolder(QFileInfo(folder).fileName() + QString::number(n + 1), QString());
        if (!top)
            break;
        m_createdTops.push_back(top);
        m_lastTopTid = top.getAttribute(QStringLiteral("TID"));
        m_visited.clear();
        importFavoritesFolder(folder, true, top, 1);
        if (m_cancelled)
            break;
        if (root)
            m_window.folderTree().addFolderNode(top, root, true);
        advanceToAtLeast98();
    }
}

void FavoritesImport::importFavoritesFolder(const QString &folder, bool top, XmlNode folderElement, int depth)
{
    setFolderLine(QFileInfo(folder).fileName());
    keepResponsive();
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
        current = createImportFolder(QFileInfo(folder).fileName(), folderElement.getAttribute(QStringLiteral("TID")));
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

XmlNode FavoritesImport::createImportFolder(const QString &name, const QString &parentTid)
{
    const QString tid = m_identifiers->nextTID();
    if (tid.isEmpty()) {
        m_outOfIdentifiers = true;
        return {};
    }
    XmlDocument &dom = m_window.m_objDOMSitePins;
    XmlNode collection = parentTid.isEmpty() ? dom.documentElement()
                                             : dom.nodeFromID(parentTid).selectSingleNode(QStringLiteral("SUBFOLDERS"));
    const XmlNode folder = LibraryElements::appendFolder(dom, collection, tid, name);
    setFolderLine(name);
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
    setItemLine(name);
    advanceALittle();
    keepResponsive();
    const QString wid = m_identifiers->nextWID();
    if (wid.isEmpty()) {
        m_outOfIdentifiers = true;
        return;
    }
    SitePinFields fields;
    fields.name = name;
    fields.address = QString(address).replace(QLatin1String("%20"), QLatin1String(" "));
    fields.createdDate = CreationDate::text(m_window.environment().today());
    XmlNode sitePins = folderElement.selectSingleNode(QStringLiteral("SITEPINS"));
    LibraryElements::appendSitePin(m_window.m_objDOMSitePins, sitePins, wid, fields);
}

// A cancelled import leaves the library as it was: nothing is saved, and
// what was added in memory goes again.
void FavoritesImport::revertImport()
{
    XmlNode root = m_window.m_objDOMSitePins.documentElement();
    FolderTree &tree = m_window.folderTree();
    for (const XmlNode &top : m_createdTops) {
        if (QTreeWidgetItem *node = tree.findNodeByTag(top.getAttribute(QStringLiteral("TID"))))
            delete node;
        root.removeChild(top);
    }
    m_createdTops.clear();
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

void FavoritesImport::reportOutcome(const Counts &before)
{
    if (m_outOfIdentifiers) {
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

void FavoritesImport::setFolderLine(const QString &text)
{
    if (m_progress)
        m_progress->lblName()->setText(text);
}

void FavoritesImport::setItemLine(const QString &text)
{
    if (m_progress)
        m_progress->lblName2()->setText(text);
}

void FavoritesImport::advanceALittle()
{
    setBar(ImportProgress::advanceALittle(m_bar));
}

void FavoritesImport::advanceToAtLeast98()
{
    setBar(ImportProgress::advanceToAtLeast98(m_bar));
}

void FavoritesImport::setBar(double value)
{
    m_bar = value;
    if (m_progress)
        m_progress->progress1()->setValue(int(value));
}

void FavoritesImport::keepResponsive(bool now)
{
    if (!m_progress || (!now && m_sinceRefresh.elapsed() < kRefreshIntervalMs))
        return;
    m_sinceRefresh.restart();
    m_progress->repaint();
    // Another start handing over a capture waits until the import is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}
