#include "editing/FolderNameDialog.h"

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

QFont designFont()
{
    return QFont(QString::fromLatin1(FontFallback::kDesignFont), 8);
}

template<typename Widget, typename... Args>
Widget *make(QWidget *parent, const char *name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setFont(designFont());
    return widget;
}

QLabel *caption(QWidget *parent, const char *name, const char *text)
{
    auto *label = make<QLabel>(parent, name, QString::fromLatin1(text));
    label->setTextFormat(Qt::PlainText);
    return label;
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
    tvwTopicList->setFont(designFont());
    lblTopicName = caption(this, "lblTopicName", texts.topicName);
    QFont bold = designFont();
    bold.setBold(true);
    lblTopicName->setFont(bold);
    // A long folder name is cut off rather than widening the dialog.
    lblTopicName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label1 = caption(this, "Label1", texts.nameLabel);
    txtTName = make<QLineEdit>(this, "txtTName");
    cmdSave = make<QPushButton>(this, "cmdSave", QStringLiteral("Save"));
    cmdCancel = make<QPushButton>(this, "cmdCancel", QStringLiteral("Cancel"));
    // The default button is chosen by hand, as the name field changes.
    cmdSave->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
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
