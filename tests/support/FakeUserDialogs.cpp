#include "FakeUserDialogs.h"

#include <QStringList>

namespace {

UserDialogs::Answer firstButton(UserDialogs::Buttons buttons)
{
    switch (buttons) {
    case UserDialogs::Buttons::Ok:
    case UserDialogs::Buttons::OkCancel:
        return UserDialogs::Answer::Ok;
    case UserDialogs::Buttons::YesNo:
    case UserDialogs::Buttons::YesNoCancel:
        return UserDialogs::Answer::Yes;
    case UserDialogs::Buttons::RetryCancel:
        return UserDialogs::Answer::Retry;
    }
    return UserDialogs::Answer::Ok;
}

} // namespace

UserDialogs::Answer FakeUserDialogs::showMessageBox(const Message &message)
{
    m_messages.append(message);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    if (m_responder)
        return m_responder(message);
    return message.defaultButton.value_or(firstButton(message.buttons));
}

std::optional<QString> FakeUserDialogs::inputBox(const QString &prompt, const QString &title,
                                                 const QString &defaultText)
{
    m_inputPrompts.append({prompt, title, defaultText});
    if (m_inputs.isEmpty())
        return std::nullopt;
    return m_inputs.dequeue();
}

QString FakeUserDialogs::openFileName(const QString &title, const QString &filter,
                                      const QString &directory)
{
    return nextFileName({false, title, filter, directory});
}

QString FakeUserDialogs::saveFileName(const QString &title, const QString &filter,
                                      const QString &directory)
{
    return nextFileName({true, title, filter, directory});
}

QString FakeUserDialogs::nextFileName(FilePrompt prompt)
{
    m_filePrompts.append(std::move(prompt));
    return m_fileNames.isEmpty() ? QString() : m_fileNames.dequeue();
}

QStringList FakeUserDialogs::messageTexts() const
{
    QStringList texts;
    for (const Message &message : m_messages)
        texts << message.text;
    return texts;
}

void FakeUserDialogs::clear()
{
    m_answers.clear();
    m_inputs.clear();
    m_fileNames.clear();
    m_messages.clear();
    m_inputPrompts.clear();
    m_filePrompts.clear();
}
