#include "platform/UserDialogs.h"

UserDialogs::~UserDialogs() = default;

void UserDialogs::inform(const QString &text, Icon icon)
{
    Message message;
    message.text = text;
    message.icon = icon;
    messageBox(message);
}
