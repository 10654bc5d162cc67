#pragma once

#include <QString>
#include <optional>

// Message boxes, input boxes and file dialogs. Tests answer them through a fake,
// so no test ever blocks on a dialog.
class UserDialogs
{
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    struct Message
    {
        QString text;
        QString title; // empty: the application's title
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
        std::optional<Answer> defaultButton;
    };

    virtual ~UserDialogs();

    virtual Answer messageBox(const Message &message) = 0;
    // The entered text, or nothing when cancelled.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
    // Chosen file path, or an empty text when cancelled.
    virtual QString openFileName(const QString &title, const QString &filter,
                                 const QString &directory) = 0;
    virtual QString saveFileName(const QString &title, const QString &filter,
                                 const QString &directory) = 0;

    // Plain OK box with the application's title.
    void inform(const QString &text, Icon icon = Icon::None);

    // The answer of a box closed without a button: its cancelling choice.
    static Answer escapeAnswer(Buttons buttons);
};
