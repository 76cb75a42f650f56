#include "editing/MoveDialog.h"

#include "editing/DialogControls.h"
#include "editing/TopicListTree.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

MoveDialog::MoveDialog(frmSitePins &window, const Texts &texts)
    : FolderChoiceDialog(window, texts)
{
    buildControls();
    connect(tvwTopicList, &TopicListTree::nodeChosen, this,
            [this](QTreeWidgetItem *node) { tvwTopicList_NodeClick(node); });
}

void MoveDialog::buildControls()
{
    addInstruction(QStringLiteral("lblInstruction"));
    addTopicList();
    addSaveAndCancel();
    m_captions = new QGridLayout;
    m_captions->setHorizontalSpacing(8);
    m_captions->setVerticalSpacing(4);
    m_captions->setColumnStretch(1, 1);
    layOut(m_captions);
    setTabOrder(tvwTopicList, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
}

QLabel *MoveDialog::addCaption(const char *caption, const char *name, const char *defaultText)
{
    const QString valueName = QString::fromLatin1(name);
    QLabel *before =
        DialogControls::plainLabel(this, valueName + QStringLiteral("Caption"), QString::fromLatin1(caption));
    QLabel *value = DialogControls::nameLabel(this, valueName, QString::fromLatin1(defaultText));
    const int row = m_captions->rowCount();
    m_captions->addWidget(before, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_captions->addWidget(value, row, 1);
    return value;
}

void MoveDialog::startFrom(const QString &tag, QLabel *from, QLabel *to)
{
    fillTopicList(tag);
    tvwTopicList->setFocus(Qt::OtherFocusReason);
    if (!isRootChosen())
        from->setText(chosenNode()->text(0));
    to->clear();
    enableSave(false);
}

void MoveDialog::enableSave(bool enabled)
{
    cmdSave->setEnabled(enabled);
    cmdSave->setDefault(enabled);
    cmdCancel->setDefault(!enabled);
}
