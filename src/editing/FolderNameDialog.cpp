#include "editing/FolderNameDialog.h"

#include "editing/DialogControls.h"
#include "editing/TopicListTree.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XmlText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FolderNameDialog::FolderNameDialog(frmSitePins &window, const Texts &texts)
    : FolderChoiceDialog(window, texts)
{
    buildControls(texts);
    layOutControls();
    connect(tvwTopicList, &TopicListTree::nodeChosen, this, [this] { updateFolderLabels(); });
    connect(txtTName, &QLineEdit::textChanged, this, [this] { txtTName_Change(); });
}

void FolderNameDialog::buildControls(const Texts &texts)
{
    Label2 = addInstruction(QStringLiteral("Label2"));
    addTopicList();
    lblTopicName =
        DialogControls::nameLabel(this, QStringLiteral("lblTopicName"), QString::fromLatin1(texts.topicName));
    Label1 = DialogControls::plainLabel(this, QStringLiteral("Label1"), QString::fromLatin1(texts.nameLabel));
    txtTName = new QLineEdit(this);
    txtTName->setObjectName(QStringLiteral("txtTName"));
    txtTName->setFont(FontFallback::designFont());
    addSaveAndCancel();
    setTabOrder(txtTName, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
    setTabOrder(cmdCancel, tvwTopicList);
}

// The chosen folder's caption and the name field, spaced as the column.
void FolderNameDialog::layOutControls()
{
    auto *naming = new QVBoxLayout;
    naming->setContentsMargins(0, 0, 0, 0);
    naming->setSpacing(6);
    naming->addWidget(lblTopicName);
    naming->addWidget(Label1);
    naming->addWidget(txtTName);
    layOut(naming);
}

void FolderNameDialog::loadTopicList()
{
    fillTopicList(m_window.ui().txtTID->text());
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
