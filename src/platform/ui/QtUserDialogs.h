#pragma once

#include "platform/ui/UserDialogs.h"

// The real dialogs: QMessageBox and QFileDialog, shown modally.
class QtUserDialogs : public UserDialogs
{
public:
    MessageAnswer showMessage(QWidget *parent, const MessageRequest &request) override;
    QString getOpenFileName(QWidget *parent, const OpenFileRequest &request) override;
};
