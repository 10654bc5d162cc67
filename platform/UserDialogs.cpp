#include "platform/UserDialogs.h"

UserDialogs::~UserDialogs() = default;

void UserDialogs::inform(const QString &text, Icon icon)
{
    Message message;
    message.text = text;
    message.icon = icon;
    messageBox(message);
}

UserDialogs::Answer UserDialogs::escapeAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
    case Buttons::RetryCancel:
        return Answer::Cancel;
    }
    return Answer::Cancel;
}
