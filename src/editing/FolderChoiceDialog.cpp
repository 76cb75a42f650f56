#include "editing/FolderChoiceDialog.h"

#include "editing/DialogControls.h"
#include "editing/TopicListTree.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/frmSitePins.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FolderChoiceDialog::FolderChoiceDialog(frmSitePins &window, const Texts &texts)
    : QDialog(&window)
    , m_window(window)
    , m_instructionText(QString::fromLatin1(texts.instruction))
{
    setObjectName(QString::fromLatin1(texts.objectName));
    setWindowTitle(QString::fromLatin1(texts.caption));
    setModal(true);
}

QLabel *FolderChoiceDialog::addInstruction(const QString &name)
{
    m_instruction = DialogControls::plainLabel(this, name, m_instructionText);
    m_instruction->setWordWrap(true);
    return m_instruction;
}

void FolderChoiceDialog::addTopicList()
{
    tvwTopicList = new TopicListTree(this);
    tvwTopicList->setFont(FontFallback::designFont());
}

void FolderChoiceDialog::addSaveAndCancel()
{
    cmdSave = DialogControls::button(this, QStringLiteral("cmdSave"), QStringLiteral("Save"));
    cmdCancel = DialogControls::button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FolderChoiceDialog::layOut(QLayout *choice)
{
    QHBoxLayout *buttons = DialogControls::buttonRow(cmdSave, cmdCancel);

    QVBoxLayout *column = DialogControls::column(this, 6, m_instruction, tvwTopicList);
    column->addSpacing(4);
    column->addLayout(choice);
    column->addSpacing(6);
    column->addLayout(buttons);

    tvwTopicList->setMinimumHeight(200);
    setMinimumSize(340, 400);
    resize(380, 460);
}

void FolderChoiceDialog::fillTopicList(const QString &tag)
{
    m_objDOMSitePins = m_window.getMyDB().getTheDOM();
    tvwTopicList->populateMyTopicList(m_objDOMSitePins);
    tvwTopicList->selectByTag(tag);
}

QTreeWidgetItem *FolderChoiceDialog::chosenNode() const
{
    return tvwTopicList->selectedNode();
}

bool FolderChoiceDialog::isRootChosen() const
{
    const QTreeWidgetItem *node = chosenNode();
    return !node || tvwTopicList->isRoot(node);
}

void FolderChoiceDialog::refuse(const QString &text)
{
    m_window.message(text, QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                     MessageIcon::Exclamation);
}

void FolderChoiceDialog::applyFontFallback()
{
    FontFallback::applyIfMissing(m_window.environment().fontAvailable, this);
}
