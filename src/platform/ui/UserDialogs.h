#pragma once

#include <QString>

class QWidget;

enum class MessageButtons
{
    Ok,
    YesNo
};

enum class MessageIcon
{
    None,
    Information,
    Question,
    Exclamation,
    Critical
};

enum class MessageAnswer
{
    Ok,
    Yes,
    No
};

struct MessageRequest
{
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    MessageAnswer defaultButton = MessageAnswer::Ok;
};

struct OpenFileRequest
{
    QString title;
    QString initialDirectory;
    QString filter;
};

// Every message box and file dialog of the program goes through here, so
// that tests can answer them and read exactly what was shown.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;
    virtual MessageAnswer showMessage(QWidget *parent, const MessageRequest &request) = 0;
    // An empty text when the user cancels.
    virtual QString getOpenFileName(QWidget *parent, const OpenFileRequest &request) = 0;
};
