#pragma once

#include "platform/UserDialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

// Answers every dialog at once from queued answers and records what was asked.
// With no queued answer a message box takes its default button (else the first
// button), an input box is cancelled and a file dialog returns no file.
class FakeUserDialogs : public UserDialogs
{
public:
    struct InputPrompt
    {
        QString prompt;
        QString title;
        QString defaultText;
    };
    struct FilePrompt
    {
        bool save = false;
        QString title;
        QString filter;
        QString directory;
    };

    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &filter,
                         const QString &directory) override;
    QString saveFileName(const QString &title, const QString &filter,
                         const QString &directory) override;

    void queueAnswer(Answer answer) { m_answers.enqueue(answer); }
    // Text entered in the next input box; nothing means Cancel.
    void queueInput(std::optional<QString> text) { m_inputs.enqueue(std::move(text)); }
    void queueFileName(const QString &path) { m_fileNames.enqueue(path); }
    // Called for every message box when no answer is queued (to answer from a test
    // while the code under test waits in the box).
    void setResponder(std::function<Answer(const Message &)> responder)
    {
        m_responder = std::move(responder);
    }

    const QList<Message> &messages() const { return m_messages; }
    QStringList messageTexts() const;
    const QList<InputPrompt> &inputPrompts() const { return m_inputPrompts; }
    const QList<FilePrompt> &filePrompts() const { return m_filePrompts; }
    void clear();

protected:
    Answer showMessageBox(const Message &message) override;

private:
    QString nextFileName(FilePrompt prompt);

    QQueue<Answer> m_answers;
    QQueue<std::optional<QString>> m_inputs;
    QQueue<QString> m_fileNames;
    std::function<Answer(const Message &)> m_responder;
    QList<Message> m_messages;
    QList<InputPrompt> m_inputPrompts;
    QList<FilePrompt> m_filePrompts;
};
