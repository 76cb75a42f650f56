#include "SilentDialogs.h"

MessageAnswer SilentDialogs::showMessage(QWidget *, const MessageRequest &request)
{
    lastText = request.text;
    return request.buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

QString SilentDialogs::getOpenFileName(QWidget *, const OpenFileRequest &)
{
    return fileToOpen;
}
