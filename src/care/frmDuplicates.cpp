#include "care/frmDuplicates.h"

#include "care/LibraryCare.h"
#include "care/logic/LibraryLinks.h"
#include "editing/DialogControls.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/frmSitePins.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kWidRole = Qt::UserRole;

QString widOf(const QTreeWidgetItem *row)
{
    return row->data(0, kWidRole).toString();
}

} // namespace

frmDuplicates::frmDuplicates(frmSitePins &window, LibraryCare &care)
    : QWidget(&window, Qt::Window)
    , m_window(window)
    , m_care(care)
{
    setObjectName(QStringLiteral("frmDuplicates"));
    setWindowTitle(QStringLiteral("Find duplicates"));
    setFont(FontFallback::designFont());
    buildControls();
    resize(860, 520);
    FontFallback::applyIfMissing(window.environment().fontAvailable, this);
    updateActions();
}

void frmDuplicates::buildControls()
{
    m_lblSummary = DialogControls::plainLabel(this, QStringLiteral("lblSummary"), QString());
    QLabel *hint = DialogControls::plainLabel(
        this, QStringLiteral("lblHint"),
        QStringLiteral("Select the SitePin to keep in each group (a selected group keeps its first SitePin), then "
                       "press \"Keep one, delete the rest\"."));
    hint->setWordWrap(true);

    m_tvwGroups = new QTreeWidget(this);
    m_tvwGroups->setObjectName(QStringLiteral("tvwGroups"));
    m_tvwGroups->setColumnCount(ColumnCount);
    m_tvwGroups->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Folder"), QStringLiteral("Created"), QStringLiteral("Address")});
    m_tvwGroups->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tvwGroups->setUniformRowHeights(true);
    for (const auto &[column, width] :
         {std::pair{NameColumn, 230}, {FolderColumn, 200}, {CreatedColumn, 90}, {AddressColumn, 300}})
        m_tvwGroups->setColumnWidth(column, width);
    connect(m_tvwGroups, &QTreeWidget::itemSelectionChanged, this, &frmDuplicates::updateActions);
    connect(m_tvwGroups, &QTreeWidget::itemDoubleClicked, this, &frmDuplicates::showSitePinOf);

    m_cmdKeep = DialogControls::button(this, QStringLiteral("cmdKeep"), QStringLiteral("Keep one, delete the rest"));
    m_cmdFindAgain = DialogControls::button(this, QStringLiteral("cmdFindAgain"), QStringLiteral("Find again"));
    m_cmdClose = DialogControls::button(this, QStringLiteral("cmdClose"), QStringLiteral("Close"));
    connect(m_cmdKeep, &QPushButton::clicked, this, &frmDuplicates::cmdKeep_Click);
    connect(m_cmdFindAgain, &QPushButton::clicked, this, &frmDuplicates::findDuplicates);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdKeep);
    buttons->addWidget(m_cmdFindAgain);
    buttons->addStretch();
    buttons->addWidget(m_cmdClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblSummary);
    layout->addWidget(hint);
    layout->addWidget(m_tvwGroups, 1);
    layout->addLayout(buttons);
}

void frmDuplicates::findDuplicates()
{
    m_document = m_window.m_objDOMSitePins;
    showGroups(DuplicateFinder::find(m_document, m_window.textIndex()));
}

void frmDuplicates::showGroups(const std::vector<DuplicateGroup> &groups)
{
    m_tvwGroups->clear();
    QList<QTreeWidgetItem *> rows;
    size_t copies = 0;
    for (const DuplicateGroup &group : groups) {
        QTreeWidgetItem *row = makeGroupRow(group);
        for (const XmlNode &sitePin : group.sitePins)
            row->addChild(makeSitePinRow(sitePin));
        rows << row;
        copies += group.sitePins.size();
    }
    m_tvwGroups->addTopLevelItems(rows);
    for (QTreeWidgetItem *row : std::as_const(rows)) {
        row->setFirstColumnSpanned(true);
        row->setExpanded(true);
    }
    m_lblSummary->setText(groups.empty() ? QStringLiteral("No two SitePins have the same address.")
                                         : QStringLiteral("%1 addresses are held by more than one SitePin: %2 "
                                                          "SitePins in all.")
                                               .arg(groups.size())
                                               .arg(copies));
    updateActions();
}

QTreeWidgetItem *frmDuplicates::makeGroupRow(const DuplicateGroup &group) const
{
    QString text = QStringLiteral("%1 \u2014 %2 SitePins").arg(group.address).arg(group.sitePins.size());
    if (group.mixesHttpAndHttps)
        text += QStringLiteral(" \u2014 over http and https");
    auto *row = new QTreeWidgetItem(QStringList{text});
    QFont bold = font();
    bold.setBold(true);
    row->setFont(NameColumn, bold);
    row->setToolTip(NameColumn, text);
    return row;
}

QTreeWidgetItem *frmDuplicates::makeSitePinRow(const XmlNode &sitePin) const
{
    auto *row = new QTreeWidgetItem(QStringList{sitePin.selectSingleNode(QStringLiteral("NAME")).text(),
                                                LibraryLinks::folderPathOf(sitePin),
                                                sitePin.selectSingleNode(QStringLiteral("CREATED_DATE")).text(),
                                                sitePin.selectSingleNode(QStringLiteral("ADDRESS")).text()});
    row->setData(0, kWidRole, sitePin.getAttribute(QStringLiteral("WID")));
    row->setToolTip(AddressColumn, row->text(AddressColumn));
    return row;
}

// A selected SitePin is kept in its group; a group selected without any of
// its SitePins keeps its first. Two SitePins chosen in one group are one
// too many.
bool frmDuplicates::chooseKeepers(QHash<QTreeWidgetItem *, QTreeWidgetItem *> &keepers) const
{
    const QList<QTreeWidgetItem *> selected = m_tvwGroups->selectedItems();
    for (QTreeWidgetItem *row : selected) {
        if (!row->parent())
            continue;
        if (keepers.contains(row->parent()))
            return false;
        keepers.insert(row->parent(), row);
    }
    for (QTreeWidgetItem *row : selected) {
        if (!row->parent() && !keepers.contains(row) && row->childCount() > 0)
            keepers.insert(row, row->child(0));
    }
    return true;
}

void frmDuplicates::cmdKeep_Click()
{
    if (m_document != m_window.m_objDOMSitePins) {
        m_window.message(QStringLiteral("These groups belong to a library that is no longer open."));
        findDuplicates();
        return;
    }
    QHash<QTreeWidgetItem *, QTreeWidgetItem *> keepers;
    if (!chooseKeepers(keepers)) {
        m_window.message(QStringLiteral("Choose one SitePin to keep in each group."));
        return;
    }
    QStringList doomed;
    for (int g = 0; g < m_tvwGroups->topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = m_tvwGroups->topLevelItem(g);
        const QTreeWidgetItem *keeper = keepers.value(group);
        for (int i = 0; keeper && i < group->childCount(); ++i) {
            if (group->child(i) != keeper)
                doomed << widOf(group->child(i));
        }
    }
    if (doomed.isEmpty())
        return;
    if (!m_care.deleteSitePins(doomed).isEmpty())
        findDuplicates();
}

void frmDuplicates::updateActions()
{
    m_cmdKeep->setEnabled(!m_tvwGroups->selectedItems().isEmpty());
}

void frmDuplicates::showSitePinOf(QTreeWidgetItem *row)
{
    if (!row || !row->parent())
        return;
    if (m_document != m_window.m_objDOMSitePins) {
        m_window.message(QStringLiteral("These groups belong to a library that is no longer open."));
        return;
    }
    m_care.showSitePin(widOf(row));
}
