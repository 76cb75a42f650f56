#include "editing/SitePinEditor.h"

#include "browser/PreviewPane.h"
#include "finding/Favourites.h"
#include "help/HelpTopics.h"
#include "layout/CommandSurface.h"
#include "mainwindow/DetailPanel.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/SitePinListModel.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/CreationDate.h"
#include "store/LibraryElements.h"
#include "store/LibraryLimits.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

QString plainText(const QTextEdit *box)
{
    return box->toPlainText();
}

} // namespace

SitePinEditor::SitePinEditor(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    frmSitePinsUi &ui = window.ui();
    connect(ui.txtMode, &StateField::changed, this, &SitePinEditor::txtMode_Change);
    ui.tvwTopics->viewport()->installEventFilter(this);
    CommandRouter &router = window.commands();
    router.on(QStringLiteral("mnuAddSitePin"), [this] { addSitePinSetup(QStringLiteral("form")); });
    router.on(QStringLiteral("mnuEditModify"), [this] { mnuEditModify_Click(); });
    router.on(QStringLiteral("saveEdit"), [this] { saveEdit(); });
    router.on(QStringLiteral("cancelEdit"), [this] { cancelEdit(); });
}

bool SitePinEditor::isMode(const char *mode) const
{
    return m_window.ui().txtMode->text().compare(QLatin1String(mode), Qt::CaseInsensitive) == 0;
}

void SitePinEditor::txtMode_Change()
{
    const QString mode = m_window.ui().txtMode->text();
    if (mode.isEmpty())
        applyBrowseSurface();
    else if (isMode(kAdd))
        applyAddSurface();
    else if (isMode(kModify))
        applyModifySurface();
}

// What every mode sets the same way, by whether the user is browsing.
void SitePinEditor::setCommonSurface(bool browsing)
{
    frmSitePinsUi &ui = m_window.ui();
    CommandSurface &surface = *ui.commands;
    const DetailPanel &panel = m_window.detailPanel();
    const bool sitePinShown = browsing && panel.isSitePinShown();
    surface.setButtonEnabled(1, browsing);
    surface.setEnabled(QStringLiteral("mnuAddSitePin"), browsing);
    for (int button : {2, 3})
        surface.setButtonEnabled(button, sitePinShown);
    for (const char *menu : {"mnuEditModify", "mnuEditDelete", "mnuEditClip"})
        surface.setEnabled(QString::fromLatin1(menu), sitePinShown);
    const bool folderCurrent = panel.isFolderCurrent();
    for (int button : {5, 6, 7, 8})
        surface.setButtonEnabled(button, folderCurrent);
    surface.setEnabled(QStringLiteral("mnuNavigate"), folderCurrent);
    surface.setButtonEnabled(13, browsing);
    surface.setEnabled(QStringLiteral("mnuEditModifyTopic"), browsing);
    surface.setButtonEnabled(14, browsing && folderCurrent);
    surface.setEnabled(QStringLiteral("mnuEditDeleteTopic"), browsing && folderCurrent);
    for (const char *menu : {"mnuFileOpen", "mnuFileRestore", "mnuFileImportIE", "mnuFileImport", "mnuFavs"})
        surface.setEnabled(QString::fromLatin1(menu), browsing);
    for (QPushButton *button : {ui.cmdFAdd, ui.cmdFDelete, ui.cmdMoveFolder, ui.cmdMoveSP})
        button->setEnabled(browsing);
    ui.Label5->setVisible(!browsing);
    ui.Line1->setVisible(browsing);
    ui.Line2->setVisible(browsing);
}

void SitePinEditor::applyBrowseSurface()
{
    frmSitePinsUi &ui = m_window.ui();
    CommandSurface &surface = *ui.commands;
    setCommonSurface(true);
    const bool sitePinShown = m_window.detailPanel().isSitePinShown();
    surface.setButtonEnabled(16, sitePinShown);
    surface.setEnabled(QStringLiteral("mnuToolsOpen"), sitePinShown);
    surface.setButtonEnabled(12, true);
    surface.setEnabled(QStringLiteral("mnuAddTopic"), true);
    surface.setButtonEnabled(17, true);
    surface.setEnabled(QStringLiteral("mnuToolsGet"), true);
    surface.setEnabled(QStringLiteral("mnuEdit"), true);
}

void SitePinEditor::applyAddSurface()
{
    setCommonSurface(false);
    m_window.ui().commands->setButtonEnabled(21, true);
    applyEditingSurface();
}

void SitePinEditor::applyModifySurface()
{
    CommandSurface &surface = *m_window.ui().commands;
    setCommonSurface(false);
    surface.setButtonEnabled(12, false);
    surface.setEnabled(QStringLiteral("mnuAddTopic"), false);
    surface.setButtonEnabled(20, true);
    surface.setButtonEnabled(21, true);
    surface.setEnabled(QStringLiteral("mnuEdit"), false);
    applyEditingSurface();
}

void SitePinEditor::applyEditingSurface()
{
    m_window.ui().tabInfo->setCurrentIndex(0);
    m_window.preview().blank();
}

void SitePinEditor::setFormEditMode(bool mode)
{
    frmSitePinsUi &ui = m_window.ui();
    ui.txtWName->setVisible(mode);
    ui.txtWName->setEnabled(mode);
    ui.lblWName->setVisible(!mode);
    ui.txtAddress->setVisible(mode);
    ui.txtAddress->setEnabled(mode);
    ui.lblAddress->setVisible(!mode);
    ui.commands->setButtonVisible(20, mode);
    ui.commands->setButtonVisible(21, mode);
    ui.commands->setButtonEnabled(21, mode);
    ui.txtDescription->setVisible(mode);
    ui.lblDescription->setVisible(!mode);
    ui.txtNotes->setReadOnly(!mode);
    // While editing, F1 in the fields explains the editor.
    const QVariant context = mode ? QVariant(HelpTopics::kEditor.contextId) : QVariant();
    for (QWidget *field : {static_cast<QWidget *>(ui.txtWName), static_cast<QWidget *>(ui.txtAddress),
                           static_cast<QWidget *>(ui.txtDescription), static_cast<QWidget *>(ui.txtNotes)})
        field->setProperty(HelpTopics::kContextProperty, context);
    const bool left = m_window.m_blnEditMode && !mode;
    m_window.m_blnEditMode = mode;
    if (left)
        emit editModeLeft();
}

void SitePinEditor::addSitePinSetup(const QString &source)
{
    frmSitePinsUi &ui = m_window.ui();
    ui.txtMode->setText(QString::fromLatin1(kAdd));
    clearEditFields();
    setFormEditMode(true);
    clearSitePinDisplay(true);
    if (source.compare(QLatin1String("browser"), Qt::CaseInsensitive) == 0) {
        ui.txtWName->setText(capturedName);
        ui.txtAddress->setText(capturedAddress);
    }
    ui.lblCreatedDate->setText(CreationDate::text(m_window.environment().today()));
    // A new SitePin is filed from the folder tree, never from the search
    // results or the favourites.
    if (ui.tabIndex->currentIndex() != 0) {
        ui.lblTName->setCaption(QString::fromLatin1(DetailPanel::kNoFolderSelected));
        m_window.folderTree().selectRoot();
        FolderTree::clearList(ui.tvwWM);
        m_window.selectLeftTab(0);
    }
    ui.txtWName->setFocus(Qt::OtherFocusReason);
}

void SitePinEditor::addSitePinFromCapture()
{
    if (!capturedAddress.isEmpty())
        addSitePinSetup(QStringLiteral("browser"));
}

void SitePinEditor::mnuEditModify_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    if (!m_window.detailPanel().isSitePinShown()) {
        m_window.message(QStringLiteral("No SitePin has been selected to modify"));
        return;
    }
    ui.txtMode->setText(QString::fromLatin1(kModify));
    setFormEditMode(true);
    m_window.m_strSavedNotes = plainText(ui.txtNotes);
    ui.txtWName->setFocus(Qt::OtherFocusReason);
    ui.txtWName->setSelection(0, int(ui.txtWName->text().size()));
}

void SitePinEditor::saveEdit()
{
    frmSitePinsUi &ui = m_window.ui();
    if (isMode(kAdd)) {
        const QTreeWidgetItem *node = m_window.folderTree().selectedNode();
        if (m_window.folderTree().isRoot(node) || !m_window.detailPanel().isFolderCurrent()) {
            m_window.message(QStringLiteral("No folder has been selected"));
            return;
        }
    }
    if (ui.txtWName->text().isEmpty()) {
        m_window.message(QStringLiteral("A website name is required before the SitePin can be saved."));
        ui.txtWName->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (!fieldsFitTheLibrary())
        return;
    if (isMode(kAdd)) {
        if (!saveNewSitePin())
            return;
        ui.tvwWM->setFocus(Qt::OtherFocusReason);
    } else if (!saveModifiedSitePin()) {
        return;
    }
    setFormEditMode(false);
}

// A field longer than the library can hold would make the saved file one
// that no longer opens; refuse it while the user can still shorten it.
bool SitePinEditor::fieldsFitTheLibrary()
{
    frmSitePinsUi &ui = m_window.ui();
    const struct
    {
        const char *field;
        qsizetype length;
    } fields[] = {{"name", ui.txtWName->text().size()},
                  {"address", ui.txtAddress->text().size()},
                  {"description", plainText(ui.txtDescription).size()},
                  {"notes", plainText(ui.txtNotes).size()}};
    for (const auto &field : fields) {
        if (field.length > LibraryLimits::kMaxFieldLength) {
            m_window.message(QStringLiteral("The %1 is too long to be saved: a SitePin field can hold at most "
                                            "%L2 characters.")
                                 .arg(QLatin1String(field.field))
                                 .arg(LibraryLimits::kMaxFieldLength),
                             QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                             MessageIcon::Exclamation);
            return false;
        }
    }
    return true;
}

bool SitePinEditor::saveNewSitePin()
{
    frmSitePinsUi &ui = m_window.ui();
    XmlDocument &dom = m_window.m_objDOMSitePins;
    QTreeWidgetItem *node = m_window.folderTree().selectedNode();
    const XmlNode folder = dom.nodeFromID(TreeNode::tagOf(node));
    XmlNode container = folder.selectSingleNode(QStringLiteral("SITEPINS"));
    if (!container) {
        m_window.message(QStringLiteral("No folder has been selected"));
        return false;
    }
    const QString wid = m_window.getMyDB().getNewWID();
    if (wid.isEmpty()) {
        m_window.message(QStringLiteral("The SitePin cannot be saved: the library already holds the largest number "
                                        "of SitePins it can number (%1).")
                             .arg(XMLDatabase::kMaxIdentifierNumber),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return false;
    }
    SitePinFields fields;
    fields.name = ui.txtWName->text();
    fields.address = ui.txtAddress->text();
    fields.createdDate = CreationDate::text(m_window.environment().today());
    fields.description = plainText(ui.txtDescription);
    fields.notes = plainText(ui.txtNotes);
    const XmlNode sitePin = LibraryElements::appendSitePin(dom, container, wid, fields);

    m_window.folderTree().populateSitePinList(node);
    m_window.detailPanel().displaySitePinElement(sitePin);
    m_window.m_strCurrentWID = wid;
    m_window.saveLibrary();
    return true;
}

// The element is found by its identifier, not through the list it was
// picked from: that list may have been refilled (a new search) while the
// edit was open, and the change must not be dropped then.
bool SitePinEditor::saveModifiedSitePin()
{
    frmSitePinsUi &ui = m_window.ui();
    SitePinListModel *lists[3] = {ui.wmModel, ui.searchModel, ui.favsModel};
    bool isNumber = false;
    const int tab = ui.txtModTab->text().toInt(&isNumber);
    if (!isNumber || tab < 0 || tab > 2)
        return false;
    SitePinListModel *chosen = lists[tab];
    const QString wid = ui.txtWID->text();
    const int found = chosen->rowOf(wid);
    for (SitePinListModel *other : lists) {
        if (other == chosen)
            continue;
        if (other == ui.favsModel)
            m_window.favourites().clearFavourites();
        else
            other->clear();
    }
    XmlNode element = wid.trimmed().isEmpty() ? XmlNode() : m_window.m_objDOMSitePins.nodeFromID(wid.trimmed());
    if (!element) {
        m_window.message(QStringLiteral("The SitePin being changed is no longer in the library."),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return false;
    }
    element.selectSingleNode(QStringLiteral("NAME")).setText(ui.txtWName->text());
    element.selectSingleNode(QStringLiteral("ADDRESS")).setText(ui.txtAddress->text());
    element.selectSingleNode(QStringLiteral("DESCRIPTION")).setText(plainText(ui.txtDescription));
    element.selectSingleNode(QStringLiteral("NOTES")).setText(plainText(ui.txtNotes));
    chosen->rename(found, ui.txtWName->text());
    m_window.detailPanel().displaySitePinElement(element);
    m_window.saveLibrary();
    return true;
}

void SitePinEditor::cancelEdit()
{
    frmSitePinsUi &ui = m_window.ui();
    if (!m_window.confirmDiscardChanges())
        return;
    if (!isMode(kAdd)) {
        ui.txtNotes->setPlainText(m_window.m_strSavedNotes);
        ui.txtWName->setText(ui.lblWName->caption());
        ui.txtAddress->setText(ui.lblAddress->text());
        ui.txtDescription->setPlainText(ui.lblDescription->text());
    } else {
        clearSitePinDisplay(false);
    }
    setFormEditMode(false);
    ui.txtMode->setText(QString());
}

void SitePinEditor::clearEditFields()
{
    frmSitePinsUi &ui = m_window.ui();
    ui.txtWName->clear();
    ui.txtAddress->clear();
    ui.txtDescription->clear();
    ui.txtNotes->clear();
}

void SitePinEditor::clearSitePinDisplay(bool show)
{
    frmSitePinsUi &ui = m_window.ui();
    ui.lblWName->setCaption(QString::fromLatin1(DetailPanel::kNoSitePinSelected));
    ui.lblAddress->setText(QString());
    ui.Frame1->setVisible(show);
    ui.tabInfo->setVisible(show);
}

bool SitePinEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.ui().tvwTopics->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        QTreeWidgetItem *pressed = m_window.ui().tvwTopics->itemAt(press->position().toPoint());
        if (isMode(kModify) && !leaveModifyFromFolderTree(pressed))
            return true; // the user kept the edit: the selection does not move
    }
    return QObject::eventFilter(watched, event);
}

bool SitePinEditor::leaveModifyFromFolderTree(QTreeWidgetItem *pressed)
{
    if (!m_window.confirmDiscardChanges())
        return false;
    m_window.ui().txtMode->setText(QString());
    if (pressed)
        m_window.folderTree().selectNode(pressed);
    setFormEditMode(false);
    clearSitePinDisplay(false);
    m_window.folderTree().tvwTopics_NodeClick();
    return true;
}
