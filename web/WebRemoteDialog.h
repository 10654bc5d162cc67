#pragma once

#include "web/WebSettings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class SecretStore;
class SettingsStore;
class UserDialogs;
class WebServer;

// "Web remote...": the address the remote listens on, its password, the certificate and
// key for HTTPS, and, while the remote runs, the address to open with a QR code of the
// one-time sign-in link. The password goes to the desktop's secret store when one
// answers, else into the settings file, which is then kept readable by its owner only.
// Saving never waits on the store unbounded.
class WebRemoteDialog : public QDialog
{
    Q_OBJECT
public:
    WebRemoteDialog(SettingsStore *settings, SecretStore *secrets, UserDialogs *dialogs,
                    WebServer *server, QWidget *parent = nullptr);
    ~WebRemoteDialog() override;

    WebSettings entered() const;
    QString statusText() const;
    QLineEdit *listenEdit() const { return m_listen; }
    QLineEdit *passwordEdit() const { return m_password; }
    QLineEdit *certificateEdit() const { return m_certificate; }
    QLineEdit *keyEdit() const { return m_key; }
    // The address shown, the one-time link the QR code holds (empty while off).
    QString addressText() const;
    QString linkText() const { return m_link; }
    const QLabel *qrLabel() const { return m_qr; }

    // Checks and saves; the dialog closes (accepted) once the password is stored.
    void save();

signals:
    void saved();

private:
    QString enteredPassword() const;
    void finishSave(const QString &failure);
    void setStatus(const QString &text);

    SettingsStore *m_settings;
    SecretStore *m_secrets;
    UserDialogs *m_dialogs;
    QString m_currentPassword;
    QLineEdit *m_listen;
    QLineEdit *m_password;
    QLineEdit *m_certificate;
    QLineEdit *m_key;
    QLabel *m_address;
    QLabel *m_qr;
    QLabel *m_status;
    QPushButton *m_ok;
    QString m_link;
    bool m_passwordEdited = false;
    bool m_saving = false;
};
