#pragma once

#include "platform/StoredPassword.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SecretStore;
class SettingsStore;
class UserDialogs;

// A settings dialog with a password field. The field stays empty and keeps the password in
// use until it is edited. Saving checks what is entered, writes the settings and keeps an
// edited password in the desktop's secret store, else in the settings file (then readable
// by its owner only), never waiting on the store unbounded; the dialog then closes.
class PasswordSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    ~PasswordSettingsDialog() override;

    // What the dialog last said about saving (or trying).
    QString statusText() const;
    QLineEdit *passwordEdit() const { return m_password; }
    // Where the password is kept, in words.
    QString passwordPlaceText() const;

    // Checks and saves; the dialog closes (accepted) once the password is stored.
    void save();

signals:
    void saved();

protected:
    PasswordSettingsDialog(SettingsStore *settings, SecretStore *secrets, UserDialogs *dialogs,
                           const QString &currentPassword, const StoredPassword::Place &place,
                           QWidget *parent);

    // Qt gives a new window at most two thirds of the screen, too little for the wrapped
    // texts on a small screen or at a large scale: the window takes what they need, up to
    // the whole work area.
    void showEvent(QShowEvent *event) override;

    // What is wrong with the entered settings, empty when they may be saved.
    virtual QString problems() const = 0;
    // Writes the entered settings but the password.
    virtual void writeSettings(SettingsStore &settings) const = 0;

    // The password entered, or the one in use while the field is untouched.
    QString enteredPassword() const;
    void setStatus(const QString &text);
    // The label that says where the password is kept, and the status line.
    QLabel *passwordPlaceLabel() const { return m_passwordPlace; }
    QLabel *statusLabel() const { return m_status; }
    // OK (saves) and Cancel.
    QDialogButtonBox *makeButtons();

    SettingsStore *m_settings;
    SecretStore *m_secrets;
    UserDialogs *m_dialogs;
    const QString m_currentPassword;

private:
    void finishSave(const QString &failure);

    const StoredPassword::Place m_place;
    QLineEdit *m_password;
    QLabel *m_passwordPlace;
    QLabel *m_status;
    QPushButton *m_ok = nullptr;
    bool m_passwordEdited = false;
    bool m_saving = false;
};
