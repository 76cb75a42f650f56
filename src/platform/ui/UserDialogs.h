#pragma once

#include <QString>
#include <QStringList>

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

struct SaveFileRequest
{
    QString title;
    // The folder and the file name offered.
    QString initialPath;
    QString filter;
    // Added to a name typed without one.
    QString defaultSuffix;
};

struct ChoiceRequest
{
    QString title;
    QString label;
    QStringList items;
    int current = 0;
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
    // An empty text when the user cancels; the dialog itself asks before a
    // file is replaced. Without a dialog of one's own: as if cancelled.
    virtual QString getSaveFileName(QWidget *, const SaveFileRequest &) { return {}; }
    // The index of the item chosen, or -1 when the user cancels.
    virtual int chooseItem(QWidget *, const ChoiceRequest &) { return -1; }
};
