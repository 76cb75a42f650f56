#include "care/LibraryCare.h"

#include "care/frmDuplicates.h"
#include "care/frmLinkCheck.h"
#include "editing/DeleteCommands.h"
#include "editing/SitePinEditor.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XmlNode.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

XmlNode sitePinOf(const frmSitePins &window, const QString &wid)
{
    const XmlNode element = window.m_objDOMSitePins.nodeFromID(wid);
    return element.nodeName() == QLatin1String("SITEPIN") ? element : XmlNode();
}

} // namespace

LibraryCare::LibraryCare(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    window.commands().on(QStringLiteral("mnuToolsCheckLinks"), [this] { mnuToolsCheckLinks_Click(); });
    window.commands().on(QStringLiteral("mnuToolsFindDuplicates"), [this] { mnuToolsFindDuplicates_Click(); });
}

// The windows act on this object, so they go before it.
LibraryCare::~LibraryCare()
{
    delete m_linkCheck.data();
    delete m_duplicates.data();
}

frmLinkCheck *LibraryCare::linkCheckWindow() const
{
    return m_linkCheck;
}

frmDuplicates *LibraryCare::duplicatesWindow() const
{
    return m_duplicates;
}

template<typename Window>
void LibraryCare::bringUp(QPointer<Window> &window)
{
    if (!window)
        window = new Window(m_window, *this);
    window->show();
    window->raise();
    window->activateWindow();
}

void LibraryCare::mnuToolsCheckLinks_Click()
{
    const bool fresh = !m_linkCheck;
    bringUp(m_linkCheck);
    // The folder chosen now is the one offered, unless a check is running.
    if (!fresh)
        m_linkCheck->offerSelectedFolder();
}

void LibraryCare::mnuToolsFindDuplicates_Click()
{
    bringUp(m_duplicates);
    m_duplicates->findDuplicates();
}

// Ends an open edit the way Cancel does, with the same question.
bool LibraryCare::endOpenEdit()
{
    if (m_window.ui().txtMode->text().isEmpty())
        return true;
    m_window.editor().cancelEdit();
    return m_window.ui().txtMode->text().isEmpty();
}

bool LibraryCare::showSitePin(const QString &wid)
{
    const XmlNode sitePin = sitePinOf(m_window, wid);
    if (!sitePin) {
        m_window.message(QStringLiteral("This SitePin is no longer in the library."));
        return false;
    }
    if (!endOpenEdit())
        return false;
    frmSitePinsUi &ui = m_window.ui();
    FolderTree &tree = m_window.folderTree();
    m_window.selectLeftTab(0);
    const QString tid = sitePin.parentNode().parentNode().getAttribute(QStringLiteral("TID"));
    if (QTreeWidgetItem *folder = tree.findNodeByTag(tid)) {
        tree.selectNode(folder);
        ui.tvwTopics->scrollToItem(folder);
        tree.populateWMOnTopicNode();
        // The caption need not change (two folders of one name), which would
        // leave the last path on show.
        ui.StatusBar1->setPanelText(2, tree.statusPath(folder));
    }
    for (int i = 0; i < ui.tvwWM->topLevelItemCount(); ++i) {
        QTreeWidgetItem *entry = ui.tvwWM->topLevelItem(i);
        if (TreeNode::tagOf(entry).compare(wid, Qt::CaseInsensitive) == 0) {
            ui.tvwWM->setCurrentItem(entry);
            ui.tvwWM->scrollToItem(entry);
            break;
        }
    }
    m_window.detailPanel().displayWM();
    m_window.raise();
    m_window.activateWindow();
    return true;
}

QStringList LibraryCare::deleteSitePins(const QStringList &wids)
{
    QStringList present;
    QStringList names;
    for (const QString &wid : wids) {
        if (const XmlNode sitePin = sitePinOf(m_window, wid)) {
            present << wid;
            names << sitePin.selectSingleNode(QStringLiteral("NAME")).text();
        }
    }
    if (present.isEmpty()) {
        m_window.message(QStringLiteral("These SitePins are no longer in the library."));
        return {};
    }
    if (!endOpenEdit() || !m_window.deleteCommands().askToDeleteSitePins(names))
        return {};
    return m_window.deleteCommands().deleteSitePinElements(present);
}

QStringList LibraryCare::useNewAddresses(const std::vector<AddressChange> &changes)
{
    if (changes.empty() || !endOpenEdit())
        return {};
    QStringList changed;
    for (const AddressChange &change : changes) {
        XmlNode address = sitePinOf(m_window, change.wid).selectSingleNode(QStringLiteral("ADDRESS"));
        if (!address || address.text() != change.from)
            continue;
        address.setText(change.to);
        changed << change.wid;
    }
    if (!changed.isEmpty()) {
        m_window.saveLibrary();
        showAddressOfShownSitePin(changed);
    }
    const qsizetype left = qsizetype(changes.size()) - changed.size();
    if (left > 0)
        m_window.message(QStringLiteral("%1 of the SitePins chosen changed or went since the check and were left as "
                                        "they are.")
                             .arg(left));
    return changed;
}

void LibraryCare::showAddressOfShownSitePin(const QStringList &changed)
{
    if (!m_window.detailPanel().isSitePinShown() || !changed.contains(m_window.m_strCurrentWID, Qt::CaseInsensitive))
        return;
    const QString address = m_window.getMyDB().getSPAddress(m_window.m_strCurrentWID);
    m_window.ui().lblAddress->setText(address);
    m_window.ui().txtAddress->setText(address);
}
