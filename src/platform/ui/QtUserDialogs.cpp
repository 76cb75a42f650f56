#include "platform/ui/QtUserDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    case MessageAnswer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

} // namespace

MessageAnswer QtUserDialogs::showMessage(QWidget *parent, const MessageRequest &request)
{
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    box.setIcon(toQt(request.icon));
    box.setTextFormat(Qt::PlainText);
    if (request.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(toQt(request.defaultButton == MessageAnswer::No ? MessageAnswer::No : MessageAnswer::Yes));
        // Closing the box with Escape or its close button counts as No.
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (result == QMessageBox::Yes)
        return MessageAnswer::Yes;
    if (result == QMessageBox::No)
        return MessageAnswer::No;
    return MessageAnswer::Ok;
}

QString QtUserDialogs::getOpenFileName(QWidget *parent, const OpenFileRequest &request)
{
    return QFileDialog::getOpenFileName(parent, request.title, request.initialDirectory, request.filter);
}

QString QtUserDialogs::getSaveFileName(QWidget *parent, const SaveFileRequest &request)
{
    QFileDialog dialog(parent, request.title, request.initialPath, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int QtUserDialogs::chooseItem(QWidget *parent, const ChoiceRequest &request)
{
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent, request.title, request.label, request.items, request.current, false, &ok);
    return ok ? int(request.items.indexOf(chosen)) : -1;
}
