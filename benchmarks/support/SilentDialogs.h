#pragma once

#include "platform/ui/UserDialogs.h"

// Answers every message at once, Yes to a question, so that no bench waits
// for a user; keeps the last text shown and offers a chosen file to open.
class SilentDialogs : public UserDialogs
{
public:
    MessageAnswer showMessage(QWidget *parent, const MessageRequest &request) override;
    QString getOpenFileName(QWidget *parent, const OpenFileRequest &request) override;

    QString lastText;
    QString fileToOpen;
};
