#include "editing/MoveDialog.h"

#include "editing/TopicListTree.h"
#include "mainwindow/FontFallback.h"
#include "mainwindow/frmSitePins.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QFont designFont()
{
    return QFont(QString::fromLatin1(FontFallback::kDesignFont), 8);
}

QLabel *plainLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(designFont());
    label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton *button(QWidget *parent, const char *name, const char *text)
{
    auto *made = new QPushButton(QString::fromLatin1(text), parent);
    made->setObjectName(QString::fromLatin1(name));
    made->setFont(designFont());
    // The default button is chosen by hand, as the target changes.
    made->setAutoDefault(false);
    return made;
}

} // namespace

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
    QLabel *instruction = plainLabel(this, QStringLiteral("lblInstruction"), QString::fromLatin1(texts.instruction));
    instruction->setWordWrap(true);
    tvwTopicList = new TopicListTree(this);
    tvwTopicList->setFont(designFont());
    tvwTopicList->setMinimumHeight(200);
    cmdSave = button(this, "cmdSave", "Save");
    cmdCancel = button(this, "cmdCancel", "Cancel");
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
    QLabel *before = plainLabel(this, valueName + QStringLiteral("Caption"), QString::fromLatin1(caption));
    QLabel *value = plainLabel(this, valueName, QString::fromLatin1(defaultText));
    QFont bold = designFont();
    bold.setBold(true);
    value->setFont(bold);
    // A long name is cut off rather than widening the dialog.
    value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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
