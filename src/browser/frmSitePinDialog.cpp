#include "browser/frmSitePinDialog.h"

#include "browser/PreviewPane.h"
#include "editing/DialogControls.h"
#include "editing/SitePinEditor.h"
#include "help/HelpTopics.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/ImageList.h"
#include "mainwindow/frmSitePins.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmSitePinDialog::frmSitePinDialog(frmSitePins &window, const QStringList &names, const QStringList &addresses)
    : QDialog(&window)
    , m_window(window)
    , m_names(names)
    , m_addresses(addresses)
{
    setObjectName(QStringLiteral("frmSitePinDialog"));
    setWindowTitle(QStringLiteral("SitePin detected"));
    setProperty(HelpTopics::kContextProperty, HelpTopics::kCaptureDialog.contextId);
    setModal(true);
    buildControls();
    layOutControls();
    connect(tvwDetected, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *node) { showEntry(tvwDetected->indexOfTopLevelItem(node)); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &frmSitePinDialog::reject);
    Form_Load();
}

void frmSitePinDialog::buildControls()
{
    tvwDetected = new QTreeWidget(this);
    tvwDetected->setObjectName(QStringLiteral("tvwDetected"));
    tvwDetected->setFont(FontFallback::designFont());
    tvwDetected->setHeaderHidden(true);
    tvwDetected->setRootIsDecorated(false);
    tvwDetected->setColumnCount(1);
    tvwDetected->setTextElideMode(Qt::ElideRight);
    lblName = DialogControls::nameLabel(this, QStringLiteral("lblName"), QString());
    lblAddress = DialogControls::nameLabel(this, QStringLiteral("lblAddress"), QString());
    lblAddress->setFont(FontFallback::designFont());
    lblAddress->setMouseTracking(true);
    lblAddress->installEventFilter(this);
    cmdOK = DialogControls::button(this, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdCancel = DialogControls::button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
}

void frmSitePinDialog::layOutControls()
{
    auto *instruction = DialogControls::plainLabel(
        this, QStringLiteral("Label1"),
        QStringLiteral("The following web addresses were detected.  Select one if you wish to add as a SitePin:"));
    instruction->setWordWrap(true);

    auto *details = new QGridLayout;
    details->setColumnStretch(1, 1);
    details->addWidget(DialogControls::plainLabel(this, QStringLiteral("Label2"), QStringLiteral("Location name:")), 0,
                       0);
    details->addWidget(lblName, 0, 1);
    details->addWidget(DialogControls::plainLabel(this, QStringLiteral("Label3"), QStringLiteral("Address:")), 1, 0);
    details->addWidget(lblAddress, 1, 1);

    QHBoxLayout *buttons = DialogControls::buttonRow(cmdOK, cmdCancel);

    QVBoxLayout *column = DialogControls::column(this, 6, instruction, tvwDetected);
    column->addLayout(details);
    column->addSpacing(6);
    column->addLayout(buttons);
    setMinimumSize(380, 300);
    resize(480, 340);
}

void frmSitePinDialog::Form_Load()
{
    SitePinEditor &editor = m_window.editor();
    editor.capturedAddress.clear();
    editor.capturedName.clear();
    // The preview must not put a dialog of its own over this one.
    m_window.preview().setSilent(true);
    const ImageList images = ImageList::sitePinImages();
    const QIcon icon = images.pair(QStringLiteral("SitePin"), QStringLiteral("SelSitePin"));
    for (const QString &name : std::as_const(m_names)) {
        auto *node = new QTreeWidgetItem(tvwDetected, {name});
        node->setIcon(0, icon);
        node->setToolTip(0, name);
    }
    if (tvwDetected->topLevelItemCount() > 0)
        tvwDetected->setCurrentItem(tvwDetected->topLevelItem(0));
    showEntry(0);
    cmdOK->setDefault(true);
    FontFallback::applyIfMissing(m_window.environment().fontAvailable, this);
}

void frmSitePinDialog::showEntry(int index)
{
    if (index < 0 || index >= m_names.size())
        return;
    lblName->setText(m_names.at(index));
    lblAddress->setText(m_addresses.value(index));
}

void frmSitePinDialog::cmdOK_Click()
{
    SitePinEditor &editor = m_window.editor();
    editor.capturedAddress.clear();
    editor.capturedName.clear();
    const int index = tvwDetected->indexOfTopLevelItem(tvwDetected->currentItem());
    if (index >= 0 && index < m_names.size()) {
        editor.capturedAddress = m_addresses.value(index);
        editor.capturedName = m_names.at(index);
        // An edit still open is not thrown away without asking; kept, the
        // capture is forgotten so that nothing starts it afterwards.
        if (m_window.confirmDiscardChanges()) {
            editor.addSitePinSetup(QStringLiteral("browser"));
        } else {
            editor.capturedAddress.clear();
            editor.capturedName.clear();
        }
    }
    accept();
}

void frmSitePinDialog::reject()
{
    SitePinEditor &editor = m_window.editor();
    editor.capturedAddress.clear();
    editor.capturedName.clear();
    QDialog::reject();
}

bool frmSitePinDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblAddress && event->type() == QEvent::MouseMove)
        lblAddress->setToolTip(lblAddress->text());
    return QDialog::eventFilter(watched, event);
}
