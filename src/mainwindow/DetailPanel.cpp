#include "mainwindow/DetailPanel.h"

#include "browser/PreviewPane.h"
#include "editing/SitePinEditor.h"
#include "layout/CommandSurface.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XmlNode.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

bool reads(const QString &caption, const char *placeholder)
{
    return caption.compare(QLatin1String(placeholder), Qt::CaseInsensitive) == 0;
}

} // namespace

DetailPanel::DetailPanel(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    frmSitePinsUi &ui = window.ui();
    connect(ui.lblTName, &NotifyingLabel::captionChanged, this, &DetailPanel::lblTName_Change);
    connect(ui.lblWName, &NotifyingLabel::captionChanged, this, &DetailPanel::lblWName_Change);
    connect(ui.txtWName, &QLineEdit::textChanged, this, &DetailPanel::txtWName_Change);
}

bool DetailPanel::isSitePinShown() const
{
    return !reads(m_window.ui().lblWName->caption(), kNoSitePinSelected);
}

bool DetailPanel::isFolderCurrent() const
{
    return !reads(m_window.ui().lblTName->caption(), kNoFolderSelected);
}

void DetailPanel::displayWM()
{
    if (!m_window.confirmDiscardChanges())
        return;
    if (!FolderTree::selectedEntry(m_window.ui().tvwWM).isValid())
        return;
    const QString tag = FolderTree::selectedTag(m_window.ui().tvwWM).trimmed();
    const XmlNode element = tag.isEmpty() ? XmlNode() : m_window.m_objDOMSitePins.nodeFromID(tag);
    // An entry whose SitePin is gone shows nothing rather than stale data.
    if (!element)
        return;
    m_window.m_strCurrentWID = tag;
    const XmlNode folder = element.parentNode().parentNode();
    m_window.ui().lblTName->setCaption(folder.selectSingleNode(QStringLiteral("NAME")).text());
    m_window.editor().setFormEditMode(false);
    displaySitePinElement(element);
}

void DetailPanel::displaySitePinElement(const XmlNode &element)
{
    frmSitePinsUi &ui = m_window.ui();
    // Not redrawn while it is filled.
    ui.Picture1->setUpdatesEnabled(false);
    m_window.editor().clearSitePinDisplay(true);
    ui.txtModTab->setText(QString::number(ui.tabIndex->currentIndex()));
    ui.txtWID->setText(element.getAttribute(QStringLiteral("WID")));
    for (const XmlNode &child : element.childElements()) {
        const QString name = child.nodeName().toUpper();
        const QString value = child.text();
        if (name == QLatin1String("NAME")) {
            ui.txtWName->setText(value);
            ui.lblWName->setCaption(value);
        } else if (name == QLatin1String("ADDRESS")) {
            ui.txtAddress->setText(value);
            ui.lblAddress->setText(value);
            m_window.preview().showSitePinAddress(value);
        } else if (name == QLatin1String("CREATED_DATE")) {
            ui.lblCreatedDate->setText(value);
        } else if (name == QLatin1String("DESCRIPTION")) {
            ui.txtDescription->setPlainText(value);
            ui.lblDescription->setText(value);
        } else if (name == QLatin1String("NOTES")) {
            ui.txtNotes->setReadOnly(true);
            ui.txtNotes->setPlainText(value);
        }
    }
    ui.Picture1->setUpdatesEnabled(true);
}

void DetailPanel::lblTName_Change()
{
    frmSitePinsUi &ui = m_window.ui();
    CommandSurface &surface = *ui.commands;
    if (ui.tabIndex->currentIndex() == 0)
        ui.StatusBar1->setPanelText(2, m_window.folderTree().statusPath(m_window.folderTree().selectedNode()));
    const bool folderCurrent = isFolderCurrent();
    for (int button : {5, 6, 7, 8})
        surface.setButtonEnabled(button, folderCurrent);
    surface.setEnabled(QStringLiteral("mnuNavigate"), folderCurrent);
    ui.cmdMoveFolder->setEnabled(folderCurrent);
    if (!folderCurrent) {
        surface.setButtonEnabled(14, false);
        surface.setEnabled(QStringLiteral("mnuEditDeleteTopic"), false);
        return;
    }
    const QString mode = ui.txtMode->text();
    if (mode.isEmpty()) {
        surface.setButtonEnabled(14, true);
        surface.setEnabled(QStringLiteral("mnuEditDeleteTopic"), true);
    }
    if (!mode.isEmpty() && !ui.txtWName->text().isEmpty())
        surface.setButtonEnabled(20, true);
}

void DetailPanel::lblWName_Change()
{
    const bool shown = isSitePinShown();
    setSitePinCommandsEnabled(shown);
    if (shown)
        m_window.ui().txtMode->setText(QString());
}

void DetailPanel::setSitePinCommandsEnabled(bool enabled)
{
    frmSitePinsUi &ui = m_window.ui();
    CommandSurface &surface = *ui.commands;
    for (int button : {16, 2, 3})
        surface.setButtonEnabled(button, enabled);
    for (const char *menu :
         {"mnuToolsOpen", "mnuEditModify", "mnuEditClip", "mnuEditDelete", "mnuViewNotes", "mnuViewPreview", "mnuFavs"})
        surface.setEnabled(QString::fromLatin1(menu), enabled);
    ui.cmdFAdd->setEnabled(enabled);
    ui.cmdFDelete->setEnabled(enabled);
    ui.cmdMoveSP->setEnabled(enabled);
}

void DetailPanel::txtWName_Change()
{
    frmSitePinsUi &ui = m_window.ui();
    ui.commands->setButtonEnabled(20, !ui.txtWName->text().trimmed().isEmpty() && isFolderCurrent());
}
