#include "care/frmLinkCheck.h"

#include "care/LibraryCare.h"
#include "care/logic/LibraryLinks.h"
#include "care/logic/LinkChecker.h"
#include "editing/DialogControls.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/TreeNode.h"
#include "mainwindow/frmSitePins.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kWidRole = Qt::UserRole;
constexpr int kOutcomeRole = Qt::UserRole + 1;
constexpr int kNewAddressRole = Qt::UserRole + 2;
constexpr int kCheckedAddressRole = Qt::UserRole + 3;
constexpr int kUpdatedRole = Qt::UserRole + 4;
// Answers are shown in batches: one row at a time would re-sort a long
// list for every answer.
constexpr int kShowIntervalMs = 200;

// Sorted by outcome in the order of the filter, otherwise by text.
class ResultRow : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        if (column == frmLinkCheck::OutcomeColumn) {
            const int mine = data(0, kOutcomeRole).toInt();
            const int theirs = other.data(0, kOutcomeRole).toInt();
            if (mine != theirs)
                return mine < theirs;
        }
        return text(column).localeAwareCompare(other.text(column)) < 0;
    }
};

LinkOutcome outcomeOf(const QTreeWidgetItem *row)
{
    return LinkOutcome(row->data(0, kOutcomeRole).toInt());
}

QString widOf(const QTreeWidgetItem *row)
{
    return row->data(0, kWidRole).toString();
}

bool canTakeNewAddress(const QTreeWidgetItem *row)
{
    return outcomeOf(row) == LinkOutcome::MovedPermanently && !row->data(0, kUpdatedRole).toBool();
}

} // namespace

frmLinkCheck::frmLinkCheck(frmSitePins &window, LibraryCare &care)
    : QWidget(&window, Qt::Window)
    , m_window(window)
    , m_care(care)
    , m_showTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmLinkCheck"));
    setWindowTitle(QStringLiteral("Check links"));
    setFont(FontFallback::designFont());
    buildControls();
    resize(940, 560);
    FontFallback::applyIfMissing(window.environment().fontAvailable, this);
    m_showTimer->setInterval(kShowIntervalMs);
    connect(m_showTimer, &QTimer::timeout, this, &frmLinkCheck::showQueuedResults);
    offerSelectedFolder();
    setChecking(false);
    updateFilterCounts();
    updateActions();
}

frmLinkCheck::~frmLinkCheck() = default;

void frmLinkCheck::buildControls()
{
    m_tvwResults = new QTreeWidget(this);
    m_tvwResults->setObjectName(QStringLiteral("tvwResults"));
    m_tvwResults->setColumnCount(ColumnCount);
    m_tvwResults->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Folder"), QStringLiteral("Address"),
                                   QStringLiteral("Outcome"), QStringLiteral("Details")});
    m_tvwResults->setRootIsDecorated(false);
    m_tvwResults->setUniformRowHeights(true);
    m_tvwResults->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tvwResults->setSortingEnabled(true);
    // Problems first, the addresses that answered well last.
    m_tvwResults->sortByColumn(OutcomeColumn, Qt::DescendingOrder);
    for (const auto &[column, width] :
         {std::pair{NameColumn, 180}, {FolderColumn, 140}, {AddressColumn, 240}, {OutcomeColumn, 220}})
        m_tvwResults->setColumnWidth(column, width);
    connect(m_tvwResults, &QTreeWidget::itemSelectionChanged, this, &frmLinkCheck::updateActions);
    connect(m_tvwResults, &QTreeWidget::itemDoubleClicked, this, &frmLinkCheck::showSitePinOf);

    m_cboShow = new QComboBox(this);
    m_cboShow->setObjectName(QStringLiteral("cboShow"));
    m_cboShow->addItem(QString(), kShowAll);
    m_cboShow->addItem(QString(), kShowAllButOk);
    for (int outcome = 0; outcome < LinkCheckResult::kOutcomeCount; ++outcome)
        m_cboShow->addItem(QString(), outcome);
    connect(m_cboShow, &QComboBox::currentIndexChanged, this, &frmLinkCheck::applyFilter);
    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(DialogControls::plainLabel(this, QStringLiteral("lblShow"), QStringLiteral("Show:")));
    filterRow->addWidget(m_cboShow);
    filterRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildScopeRow());
    layout->addWidget(buildProgressRow());
    layout->addLayout(filterRow);
    layout->addWidget(m_tvwResults, 1);
    layout->addWidget(buildActionRow());
}

QWidget *frmLinkCheck::buildScopeRow()
{
    auto *row = new QWidget(this);
    m_optLibrary = new QRadioButton(QStringLiteral("The whole library"), row);
    m_optLibrary->setObjectName(QStringLiteral("optLibrary"));
    m_optFolder = new QRadioButton(row);
    m_optFolder->setObjectName(QStringLiteral("optFolder"));
    m_cmdCheck = DialogControls::button(row, QStringLiteral("cmdCheck"), QStringLiteral("Check"));
    connect(m_cmdCheck, &QPushButton::clicked, this, &frmLinkCheck::cmdCheck_Click);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_optLibrary);
    layout->addWidget(m_optFolder);
    layout->addStretch();
    layout->addWidget(m_cmdCheck);
    return row;
}

QWidget *frmLinkCheck::buildProgressRow()
{
    auto *row = new QWidget(this);
    m_progress = new QProgressBar(row);
    m_progress->setObjectName(QStringLiteral("progress1"));
    m_progress->setTextVisible(false);
    m_lblProgress =
        DialogControls::plainLabel(row, QStringLiteral("lblProgress"), QStringLiteral("Nothing checked yet"));
    m_lblProgress->setMinimumWidth(220);
    m_cmdCancel = DialogControls::button(row, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    connect(m_cmdCancel, &QPushButton::clicked, this, &frmLinkCheck::cmdCancel_Click);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_progress, 1);
    layout->addWidget(m_lblProgress);
    layout->addWidget(m_cmdCancel);
    return row;
}

QWidget *frmLinkCheck::buildActionRow()
{
    auto *row = new QWidget(this);
    m_cmdUseNewAddress =
        DialogControls::button(row, QStringLiteral("cmdUseNewAddress"), QStringLiteral("Use the new address"));
    m_cmdDelete = DialogControls::button(row, QStringLiteral("cmdDelete"), QStringLiteral("Delete SitePins"));
    m_cmdCopy = DialogControls::button(row, QStringLiteral("cmdCopy"), QStringLiteral("Copy addresses"));
    m_cmdClose = DialogControls::button(row, QStringLiteral("cmdClose"), QStringLiteral("Close"));
    connect(m_cmdUseNewAddress, &QPushButton::clicked, this, &frmLinkCheck::cmdUseNewAddress_Click);
    connect(m_cmdDelete, &QPushButton::clicked, this, &frmLinkCheck::cmdDelete_Click);
    connect(m_cmdCopy, &QPushButton::clicked, this, &frmLinkCheck::cmdCopy_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QPushButton *button : {m_cmdUseNewAddress, m_cmdDelete, m_cmdCopy})
        layout->addWidget(button);
    layout->addStretch();
    layout->addWidget(m_cmdClose);
    return row;
}

void frmLinkCheck::offerSelectedFolder()
{
    if (isChecking())
        return;
    FolderTree &tree = m_window.folderTree();
    const QTreeWidgetItem *node = tree.selectedNode();
    const bool folder = node && !tree.isRoot(node) && !TreeNode::tagOf(node).trimmed().isEmpty();
    m_folderTid = folder ? TreeNode::tagOf(node).trimmed() : QString();
    m_folderDocument = m_window.m_objDOMSitePins;
    m_optFolder->setText(folder ? QStringLiteral("The folder \"%1\" and its sub-folders").arg(node->text(0))
                                : QStringLiteral("A folder and its sub-folders (none is selected)"));
    m_optFolder->setEnabled(folder);
    (folder ? m_optFolder : m_optLibrary)->setChecked(true);
}

bool frmLinkCheck::isChecking() const
{
    return m_checker && m_checker->isRunning();
}

void frmLinkCheck::setChecking(bool checking)
{
    m_cmdCheck->setEnabled(!checking);
    m_optLibrary->setEnabled(!checking);
    m_optFolder->setEnabled(!checking && !m_folderTid.isEmpty());
    m_cmdCancel->setEnabled(checking);
    if (checking)
        m_showTimer->start();
    else
        m_showTimer->stop();
}

void frmLinkCheck::cmdCheck_Click()
{
    if (isChecking())
        return;
    m_document = m_window.m_objDOMSitePins;
    XmlNode top = m_document.documentElement();
    if (m_optFolder->isChecked()) {
        // Another library may have been opened since, with a folder of the
        // same identifier.
        top = m_folderDocument == m_document ? m_document.nodeFromID(m_folderTid) : XmlNode();
        if (top.nodeName() != QLatin1String("FOLDER")) {
            m_window.message(QStringLiteral("The folder is no longer in the library."));
            offerSelectedFolder();
            return;
        }
    }
    const std::vector<LinkChecker::Link> links = LibraryLinks::webLinksUnder(top);
    m_tvwResults->clear();
    m_queued.clear();
    updateFilterCounts();
    if (links.empty()) {
        m_lblProgress->setText(QStringLiteral("No web addresses to check"));
        m_progress->setRange(0, 1);
        m_progress->setValue(0);
        return;
    }
    m_checker = std::make_unique<LinkChecker>(m_care.linkCheckSettings());
    connect(m_checker.get(), &LinkChecker::checked, this, &frmLinkCheck::queueResult);
    connect(m_checker.get(), &LinkChecker::progressChanged, this, &frmLinkCheck::showProgress);
    connect(m_checker.get(), &LinkChecker::finished, this, &frmLinkCheck::finishCheck);
    setChecking(true);
    showProgress(0, int(links.size()));
    m_checker->start(links);
}

void frmLinkCheck::cmdCancel_Click()
{
    if (isChecking())
        m_checker->cancel();
}

void frmLinkCheck::closeEvent(QCloseEvent *event)
{
    cmdCancel_Click();
    QWidget::closeEvent(event);
}

void frmLinkCheck::showProgress(int done, int total)
{
    m_progress->setRange(0, total);
    m_progress->setValue(done);
    m_lblProgress->setText(QStringLiteral("Checked %1 of %2").arg(done).arg(total));
}

void frmLinkCheck::finishCheck(bool cancelled)
{
    showQueuedResults();
    setChecking(false);
    const int done = m_checker->done();
    const int total = m_checker->total();
    m_lblProgress->setText(cancelled ? QStringLiteral("Cancelled after %1 of %2").arg(done).arg(total)
                                     : QStringLiteral("Checked %1 of %2").arg(done).arg(total));
    emit checkFinished(cancelled);
}

void frmLinkCheck::queueResult(const LinkCheckResult &result)
{
    m_queued.push_back(result);
}

void frmLinkCheck::showQueuedResults()
{
    if (m_queued.empty())
        return;
    QList<QTreeWidgetItem *> rows;
    for (const LinkCheckResult &result : m_queued) {
        if (QTreeWidgetItem *row = makeRow(result))
            rows << row;
    }
    m_queued.clear();
    // The rows the user is reading stay in place while others arrive.
    const int scrolled = m_tvwResults->verticalScrollBar()->value();
    m_tvwResults->setSortingEnabled(false);
    m_tvwResults->addTopLevelItems(rows);
    for (QTreeWidgetItem *row : std::as_const(rows))
        row->setHidden(!isShownByFilter(row));
    m_tvwResults->setSortingEnabled(true);
    m_tvwResults->verticalScrollBar()->setValue(scrolled);
    updateFilterCounts();
}

// A SitePin deleted while its address was asked for gets no row.
QTreeWidgetItem *frmLinkCheck::makeRow(const LinkCheckResult &result) const
{
    const XmlNode sitePin = m_document.nodeFromID(result.id);
    if (sitePin.nodeName() != QLatin1String("SITEPIN"))
        return nullptr;
    auto *row = new ResultRow;
    row->setText(NameColumn, sitePin.selectSingleNode(QStringLiteral("NAME")).text());
    row->setText(FolderColumn, LibraryLinks::folderPathOf(sitePin));
    row->setText(AddressColumn, result.address);
    row->setText(OutcomeColumn, result.outcomeText());
    row->setText(DetailsColumn, result.details());
    for (const int column : {AddressColumn, OutcomeColumn, DetailsColumn})
        row->setToolTip(column, row->text(column));
    row->setData(0, kWidRole, result.id);
    row->setData(0, kOutcomeRole, int(result.outcome));
    row->setData(0, kNewAddressRole, result.newAddress);
    row->setData(0, kCheckedAddressRole, result.address);
    return row;
}

void frmLinkCheck::updateFilterCounts()
{
    int counts[LinkCheckResult::kOutcomeCount] = {};
    const int rows = m_tvwResults->topLevelItemCount();
    for (int i = 0; i < rows; ++i)
        ++counts[int(outcomeOf(m_tvwResults->topLevelItem(i)))];
    m_cboShow->setItemText(0, QStringLiteral("All (%1)").arg(rows));
    m_cboShow->setItemText(1, QStringLiteral("All but OK (%1)").arg(rows - counts[int(LinkOutcome::Ok)]));
    for (int outcome = 0; outcome < LinkCheckResult::kOutcomeCount; ++outcome)
        m_cboShow->setItemText(
            outcome + 2,
            QStringLiteral("%1 (%2)").arg(LinkCheckResult::captionOf(LinkOutcome(outcome))).arg(counts[outcome]));
}

bool frmLinkCheck::isShownByFilter(const QTreeWidgetItem *row) const
{
    const int shown = m_cboShow->currentData().toInt();
    if (shown == kShowAll)
        return true;
    if (shown == kShowAllButOk)
        return outcomeOf(row) != LinkOutcome::Ok;
    return int(outcomeOf(row)) == shown;
}

// A row the filter hides is no longer chosen.
void frmLinkCheck::applyFilter()
{
    for (int i = 0; i < m_tvwResults->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_tvwResults->topLevelItem(i);
        const bool shown = isShownByFilter(row);
        row->setHidden(!shown);
        if (!shown)
            row->setSelected(false);
    }
    updateActions();
}

// The chosen rows in the order shown.
QList<QTreeWidgetItem *> frmLinkCheck::chosenRows() const
{
    QList<QTreeWidgetItem *> rows;
    for (int i = 0; i < m_tvwResults->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_tvwResults->topLevelItem(i);
        if (row->isSelected() && !row->isHidden())
            rows << row;
    }
    return rows;
}

void frmLinkCheck::updateActions()
{
    const QList<QTreeWidgetItem *> rows = chosenRows();
    m_cmdUseNewAddress->setEnabled(std::any_of(rows.begin(), rows.end(), canTakeNewAddress));
    m_cmdDelete->setEnabled(!rows.isEmpty());
    m_cmdCopy->setEnabled(!rows.isEmpty());
}

bool frmLinkCheck::belongsToOpenLibrary()
{
    if (m_document == m_window.m_objDOMSitePins)
        return true;
    m_window.message(QStringLiteral("These results belong to a library that is no longer open."));
    return false;
}

void frmLinkCheck::cmdUseNewAddress_Click()
{
    if (!belongsToOpenLibrary())
        return;
    std::vector<LibraryCare::AddressChange> changes;
    QList<QTreeWidgetItem *> rows;
    for (QTreeWidgetItem *row : chosenRows()) {
        if (!canTakeNewAddress(row))
            continue;
        changes.push_back(
            {widOf(row), row->data(0, kCheckedAddressRole).toString(), row->data(0, kNewAddressRole).toString()});
        rows << row;
    }
    const QStringList changed = m_care.useNewAddresses(changes);
    for (QTreeWidgetItem *row : std::as_const(rows)) {
        if (!changed.contains(widOf(row)))
            continue;
        row->setData(0, kUpdatedRole, true);
        row->setText(AddressColumn, row->data(0, kNewAddressRole).toString());
        row->setText(DetailsColumn,
                     QStringLiteral("Address changed from %1").arg(row->data(0, kCheckedAddressRole).toString()));
    }
    updateActions();
}

void frmLinkCheck::cmdDelete_Click()
{
    if (!belongsToOpenLibrary())
        return;
    QStringList wids;
    for (const QTreeWidgetItem *row : chosenRows())
        wids << widOf(row);
    removeRows(m_care.deleteSitePins(wids));
}

void frmLinkCheck::removeRows(const QStringList &wids)
{
    if (wids.isEmpty())
        return;
    for (int i = m_tvwResults->topLevelItemCount() - 1; i >= 0; --i) {
        if (wids.contains(widOf(m_tvwResults->topLevelItem(i))))
            delete m_tvwResults->takeTopLevelItem(i);
    }
    updateFilterCounts();
    updateActions();
}

void frmLinkCheck::cmdCopy_Click()
{
    QStringList addresses;
    for (const QTreeWidgetItem *row : chosenRows())
        addresses << row->text(AddressColumn);
    if (addresses.isEmpty())
        return;
    QGuiApplication::clipboard()->setText(addresses.join(u'\n'));
}

void frmLinkCheck::showSitePinOf(QTreeWidgetItem *row)
{
    if (row && belongsToOpenLibrary())
        m_care.showSitePin(widOf(row));
}
