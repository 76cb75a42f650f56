#include "editing/FolderNameDialog.h"

#include "editing/DialogControls.h"
#include "editing/TopicListTree.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XmlText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *caption(QWidget *parent, const char *name, const char *text)
{
    return DialogControls::plainLabel(parent, QString::fromLatin1(name), QString::fromLatin1(text));
}

} // namespace

FolderNameDialog::FolderNameDialog(frmSitePins &window, const Texts &texts)
    : QDialog(&window)
    , m_window(window)
{
    setObjectName(QString::fromLatin1(texts.objectName));
    setWindowTitle(QString::fromLatin1(texts.caption));
    setModal(true);
    buildControls(texts);
    layOutControls();
    connect(tvwTopicList, &TopicListTree::nodeChosen, this, [this] { updateFolderLabels(); });
    connect(txtTName, &QLineEdit::textChanged, this, [this] { txtTName_Change(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FolderNameDialog::buildControls(const Texts &texts)
{
    Label2 = caption(this, "Label2", texts.instruction);
    Label2->setWordWrap(true);
    tvwTopicList = new TopicListTree(this);
    tvwTopicList->setFont(FontFallback::designFont());
    lblTopicName =
        DialogControls::nameLabel(this, QStringLiteral("lblTopicName"), QString::fromLatin1(texts.topicName));
    Label1 = caption(this, "Label1", texts.nameLabel);
    txtTName = new QLineEdit(this);
    txtTName->setObjectName(QStringLiteral("txtTName"));
    txtTName->setFont(FontFallback::designFont());
    cmdSave = DialogControls::button(this, QStringLiteral("cmdSave"), QStringLiteral("Save"));
    cmdCancel = DialogControls::button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    setTabOrder(txtTName, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
    setTabOrder(cmdCancel, tvwTopicList);
}

void FolderNameDialog::layOutControls()
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(6);
    column->addWidget(Label2);
    column->addWidget(tvwTopicList, 1);
    column->addSpacing(4);
    column->addWidget(lblTopicName);
    column->addWidget(Label1);
    column->addWidget(txtTName);
    column->addSpacing(6);
    column->addLayout(buttons);

    tvwTopicList->setMinimumHeight(200);
    setMinimumSize(340, 400);
    resize(380, 460);
}

void FolderNameDialog::loadTopicList()
{
    m_objDOMSitePins = m_window.getMyDB().getTheDOM();
    tvwTopicList->populateMyTopicList(m_objDOMSitePins);
    tvwTopicList->selectByTag(m_window.ui().txtTID->text());
}

void FolderNameDialog::applyFontFallback()
{
    FontFallback::applyIfMissing(m_window.environment().fontAvailable, this);
}

// Blanks make a name; characters the library cannot store do not, since
// they are dropped on the way into the file.
void FolderNameDialog::txtTName_Change()
{
    const bool named = !XmlText::withoutInvalidChars(txtTName->text()).isEmpty();
    cmdSave->setEnabled(named);
    makeSaveDefault(named);
}

void FolderNameDialog::makeSaveDefault(bool saveIsDefault)
{
    cmdSave->setDefault(saveIsDefault);
    cmdCancel->setDefault(!saveIsDefault);
}

QTreeWidgetItem *FolderNameDialog::chosenNode() const
{
    return tvwTopicList->selectedNode();
}

bool FolderNameDialog::isRootChosen() const
{
    QTreeWidgetItem *node = chosenNode();
    return !node || tvwTopicList->isRoot(node);
}

void FolderNameDialog::refuse(const QString &text)
{
    m_window.message(text, QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                     MessageIcon::Exclamation);
}
