#include "platform/UserDialogs.h"

#include "platform/DeferredBoxes.h"

UserDialogs::~UserDialogs() = default;

UserDialogs::Answer UserDialogs::messageBox(const Message &message)
{
    if (message.buttons != Buttons::Ok || !DeferredBoxes::deferring())
        return showMessageBox(message);
    DeferredBoxes::later([this, alive = std::weak_ptr<int>(m_alive), message] {
        if (!alive.expired())
            showMessageBox(message);
    });
    return Answer::Ok;
}

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
