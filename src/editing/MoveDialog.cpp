#include "editing/MoveDialog.h"

#include "editing/DialogControls.h"
#include "editing/TopicListTree.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/frmSitePins.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

MoveDialog::MoveDialog(frmSitePins &window, const Texts &texts)
    : QDialog(&window)
    , m_window(window)
{
    setObjectName(QString::fromLatin1(texts.objectName));
    setWindowTitle(QString::fromLatin1(texts.caption));
    setModal(true);
    buildControls(texts);
    connect(tvwTopicList, &TopicListTree::nodeChosen, this,
            [this](QTreeWidgetItem *node) { tvwTopicList_NodeClick(node); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void MoveDialog::buildControls(const Texts &texts)
{
    QLabel *instruction =
        DialogControls::plainLabel(this, QStringLiteral("lblInstruction"), QString::fromLatin1(texts.instruction));
    instruction->setWordWrap(true);
    tvwTopicList = new TopicListTree(this);
    tvwTopicList->setFont(FontFallback::designFont());
    tvwTopicList->setMinimumHeight(200);
    cmdSave = DialogControls::button(this, QStringLiteral("cmdSave"), QStringLiteral("Save"));
    cmdCancel = DialogControls::button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    m_captions = new QGridLayout;
    m_captions->setHorizontalSpacing(8);
    m_captions->setVerticalSpacing(4);
    m_captions->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(6);
    column->addWidget(instruction);
    column->addWidget(tvwTopicList, 1);
    column->addSpacing(4);
    column->addLayout(m_captions);
    column->addSpacing(6);
    column->addLayout(buttons);

    setTabOrder(tvwTopicList, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
    setMinimumSize(340, 400);
    resize(380, 460);
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

void MoveDialog::loadTopicList(const QString &tag)
{
    m_objDOMSitePins = m_window.getMyDB().getTheDOM();
    tvwTopicList->populateMyTopicList(m_objDOMSitePins);
    tvwTopicList->selectByTag(tag);
    tvwTopicList->setFocus(Qt::OtherFocusReason);
}

void MoveDialog::enableSave(bool enabled)
{
    cmdSave->setEnabled(enabled);
    cmdSave->setDefault(enabled);
    cmdCancel->setDefault(!enabled);
}

QTreeWidgetItem *MoveDialog::chosenNode() const
{
    return tvwTopicList->selectedNode();
}

bool MoveDialog::isRootChosen() const
{
    const QTreeWidgetItem *node = chosenNode();
    return !node || tvwTopicList->isRoot(node);
}

void MoveDialog::refuse(const QString &text)
{
    m_window.message(text, QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                     MessageIcon::Exclamation);
}

void MoveDialog::applyFontFallback()
{
    FontFallback::applyIfMissing(m_window.environment().fontAvailable, this);
}
