#pragma once

#include "platform/UserDialogs.h"

#include <QPointer>
#include <QWidget>

// Message, input and file dialogs of the desktop. Dialogs are centred over `parent`, or
// over the active window when there is none.
class QtUserDialogs final : public UserDialogs
{
public:
    explicit QtUserDialogs(QWidget *parent = nullptr);

    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &filter,
                         const QString &directory) override;
    QString saveFileName(const QString &title, const QString &filter,
                         const QString &directory) override;

    // "Script (*.txt)|*.txt|All (*.*)|*.*" -> "Script (*.txt);;All (*)"; a filter
    // already in the desktop's form is kept.
    static QString desktopFilter(const QString &filter);

protected:
    Answer showMessageBox(const Message &message) override;

private:
    QWidget *dialogParent() const;
    static QString titleOrDefault(const QString &title);

    QPointer<QWidget> m_parent;
};
