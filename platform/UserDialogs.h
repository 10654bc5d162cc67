#pragma once

#include <QString>
#include <memory>
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

    // Shows a message box and returns the button the user chose. While the program
    // defers boxes (DeferredBoxes, during a report's evaluation) a box with only an OK
    // button is queued and shown afterwards; the call then answers OK at once.
    Answer messageBox(const Message &message);
    // The entered text, or nothing when cancelled.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText)
        = 0;
    // Chosen file path, or an empty text when cancelled.
    virtual QString openFileName(const QString &title, const QString &filter,
                                 const QString &directory)
        = 0;
    virtual QString saveFileName(const QString &title, const QString &filter,
                                 const QString &directory)
        = 0;

    // Plain OK box with the application's title.
    void inform(const QString &text, Icon icon = Icon::None);

    // The answer of a box closed without a button: its cancelling choice.
    static Answer escapeAnswer(Buttons buttons);

protected:
    // Shows the box now and waits for the answer.
    virtual Answer showMessageBox(const Message &message) = 0;

private:
    // A queued box of dialogs that are gone by then is not shown.
    std::shared_ptr<int> m_alive = std::make_shared<int>();
};
