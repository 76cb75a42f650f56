#pragma once

#include "platform/ui/UserDialogs.h"

// The real dialogs: QMessageBox, QFileDialog and QInputDialog, shown modally.
class QtUserDialogs : public UserDialogs
{
public:
    MessageAnswer showMessage(QWidget *parent, const MessageRequest &request) override;
    QString getOpenFileName(QWidget *parent, const OpenFileRequest &request) override;
    QString getSaveFileName(QWidget *parent, const SaveFileRequest &request) override;
    int chooseItem(QWidget *parent, const ChoiceRequest &request) override;
};
