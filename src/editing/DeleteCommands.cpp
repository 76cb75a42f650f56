#include "editing/DeleteCommands.h"

#include "editing/FolderElements.h"
#include "editing/SitePinEditor.h"
#include "finding/Favourites.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeWidget>

#include <memory>

namespace {

constexpr int kIndexTab = 0;
constexpr int kSearchTab = 1;
constexpr int kFavouritesTab = 2;
constexpr int kNamesListedInQuestion = 10;

bool answeredYes(frmSitePins &window, const QString &question, const char *title)
{
    return window.message(question, QString::fromLatin1(title), MessageButtons::YesNo, MessageIcon::None,
                          MessageAnswer::Yes) == MessageAnswer::Yes;
}

} // namespace

DeleteCommands::DeleteCommands(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    window.commands().on(QStringLiteral("mnuEditDelete"), [this] { mnuEditDelete_Click(); });
    window.commands().on(QStringLiteral("mnuEditDeleteTopic"), [this] { mnuEditDeleteTopic_Click(); });
}

void DeleteCommands::mnuEditDelete_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    if (!m_window.detailPanel().isSitePinShown()) {
        m_window.message(QStringLiteral("No SitePin has been selected to delete."));
        return;
    }
    if (!answeredYes(m_window, QStringLiteral("Are you sure you wish to delete ") + ui.txtWName->text() + u'?',
                     "Delete SitePin?"))
        return;
    const QString wid = m_window.m_strCurrentWID;
    if (!deleteSitePinElement(wid)) {
        m_window.message(QStringLiteral("The SitePin cannot be deleted: it is no longer in the library."),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return;
    }
    const int tab = ui.tabIndex->currentIndex();
    removeFromShownList(wid);
    if (tab == kIndexTab)
        ui.tvwTopics->setFocus(Qt::OtherFocusReason);
    else
        ui.lblTName->setCaption(QString::fromLatin1(DetailPanel::kNoFolderSelected));
    emptyOtherLists(tab);
    m_window.editor().setFormEditMode(false);
    m_window.editor().clearSitePinDisplay(false);
    m_window.m_strCurrentWID.clear();
}

// Every entry of the SitePin goes, not only a selected one: the keyboard
// can move the selection away from the SitePin on display.
void DeleteCommands::removeFromShownList(const QString &wid)
{
    frmSitePinsUi &ui = m_window.ui();
    switch (ui.tabIndex->currentIndex()) {
    case kIndexTab:
        removeEntries(ui.tvwWM, wid);
        break;
    case kSearchTab:
        removeEntries(ui.tvwSearch, wid);
        break;
    case kFavouritesTab:
        m_window.favourites().removeAt(m_window.favourites().positionOf(wid));
        break;
    default:
        break;
    }
}

void DeleteCommands::removeEntries(QTreeWidget *list, const QString &wid)
{
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
        if (TreeNode::tagOf(list->topLevelItem(i)).compare(wid, Qt::CaseInsensitive) == 0) {
            const std::unique_ptr<QTreeWidgetItem> removed(list->takeTopLevelItem(i));
        }
    }
}

void DeleteCommands::emptyOtherLists(int tab)
{
    frmSitePinsUi &ui = m_window.ui();
    if (tab != kIndexTab)
        FolderTree::clearList(ui.tvwWM);
    if (tab != kSearchTab)
        FolderTree::clearList(ui.tvwSearch);
    if (tab != kFavouritesTab)
        m_window.favourites().clearFavourites();
}

bool DeleteCommands::deleteSitePinElement(const QString &wid)
{
    if (!removeSitePinElement(wid))
        return false;
    m_window.saveLibrary();
    return true;
}

bool DeleteCommands::removeSitePinElement(const QString &wid)
{
    if (wid.isEmpty())
        return false;
    const XmlNode sitePin = m_window.m_objDOMSitePins.nodeFromID(wid);
    // The identifier must name a SitePin: a folder carrying it by mistake
    // would otherwise go with everything inside it.
    if (sitePin.nodeName() != QLatin1String("SITEPIN"))
        return false;
    return sitePin.parentNode().removeChild(sitePin);
}

bool DeleteCommands::askToDeleteSitePins(const QStringList &names)
{
    if (names.size() == 1)
        return answeredYes(m_window, QStringLiteral("Are you sure you wish to delete ") + names.front() + u'?',
                           "Delete SitePin?");
    QString question = QStringLiteral("Are you sure you wish to delete these %1 SitePins?").arg(names.size());
    // A short list is named in full: the user sees what goes.
    if (names.size() <= kNamesListedInQuestion)
        question += QStringLiteral("\n\n") + names.join(u'\n');
    return answeredYes(m_window, question, "Delete SitePins?");
}

QStringList DeleteCommands::deleteSitePinElements(const QStringList &wids)
{
    QStringList removed;
    for (const QString &wid : wids) {
        if (removeSitePinElement(wid))
            removed << wid;
    }
    if (removed.isEmpty())
        return removed;
    m_window.saveLibrary();
    forgetRemovedSitePins(removed);
    return removed;
}

// Only the entries of the SitePins that went leave the lists: the others
// still name SitePins of the library.
void DeleteCommands::forgetRemovedSitePins(const QStringList &wids)
{
    frmSitePinsUi &ui = m_window.ui();
    bool shownRemoved = false;
    for (const QString &wid : wids) {
        removeEntries(ui.tvwWM, wid);
        removeEntries(ui.tvwSearch, wid);
        m_window.favourites().removeAt(m_window.favourites().positionOf(wid));
        shownRemoved = shownRemoved || wid.compare(m_window.m_strCurrentWID, Qt::CaseInsensitive) == 0;
    }
    if (!shownRemoved)
        return;
    m_window.editor().setFormEditMode(false);
    m_window.editor().clearSitePinDisplay(false);
    m_window.m_strCurrentWID.clear();
}

void DeleteCommands::mnuEditDeleteTopic_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *node = tree.selectedNode();
    if (!node || tree.isRoot(node)) {
        m_window.message(QStringLiteral("A folder must be selected to delete"),
                         QString::fromLatin1(frmSitePins::kWindowTitle));
        return;
    }
    if (!answeredYes(m_window,
                     QStringLiteral("Are you sure you wish to delete the folder ") + folderNameOf(node) +
                         QStringLiteral(" and all its SitePins and sub-folders?"),
                     "Delete folder?"))
        return;
    if (!deleteFolderNode(node)) {
        m_window.message(QStringLiteral("The folder cannot be deleted: it is no longer in the library."),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return;
    }
    m_window.editor().setFormEditMode(false);
    m_window.editor().clearSitePinDisplay(false);
    ui.tvwTopics->setFocus(Qt::OtherFocusReason);
    showFolderSelectedAfterDelete();
    FolderTree::clearList(ui.tvwSearch);
    m_window.favourites().clearFavourites();
}

// The question names the folder that will go. The folder caption can name
// another one (the folder of a search hit on display), and a confirmation
// naming one folder must not delete a different one.
QString DeleteCommands::folderNameOf(const QTreeWidgetItem *node) const
{
    const XmlNode folder = FolderElements::byTid(m_window.m_objDOMSitePins, TreeNode::tagOf(node).trimmed());
    return folder ? folder.selectSingleNode(QStringLiteral("NAME")).text() : node->text(0);
}

bool DeleteCommands::deleteFolderNode(QTreeWidgetItem *node)
{
    if (!node)
        return false;
    const QString tag = TreeNode::tagOf(node).trimmed();
    const XmlNode folder = tag.isEmpty() ? XmlNode() : FolderElements::byTid(m_window.m_objDOMSitePins, tag);
    if (!folder || !folder.parentNode().removeChild(folder))
        return false;
    m_window.saveLibrary();
    QTreeWidgetItem *parent = node->parent();
    if (parent) {
        const std::unique_ptr<QTreeWidgetItem> removed(parent->takeChild(parent->indexOfChild(node)));
    }
    return true;
}

// The tree moves its selection to a neighbour or to the parent of the
// removed node; what the window lists follows that node.
void DeleteCommands::showFolderSelectedAfterDelete()
{
    frmSitePinsUi &ui = m_window.ui();
    FolderTree &tree = m_window.folderTree();
    QTreeWidgetItem *node = tree.selectedNode();
    if (!node)
        node = tree.rootNode();
    tree.selectNode(node);
    if (tree.isRoot(node)) {
        ui.lblTName->setCaption(QString::fromLatin1(DetailPanel::kNoFolderSelected));
        FolderTree::clearList(ui.tvwWM);
        ui.lblSelectedTopic->setText(QString::fromLatin1(FolderTree::kNoFolder));
    } else {
        tree.populateWMOnTopicNode();
    }
    // The caption may not change (a neighbour of the same name), which
    // would leave the deleted folder's path on show.
    if (ui.tabIndex->currentIndex() == kIndexTab)
        ui.StatusBar1->setPanelText(2, tree.statusPath(node));
}
