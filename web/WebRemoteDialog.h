#pragma once

#include "program/PasswordSettingsDialog.h"
#include "web/WebSettings.h"

class QLabel;
class QLineEdit;
class QPushButton;
class WebServer;

// "Web remote...": the address the remote listens on, its password, the certificate and
// key for HTTPS, and, while the remote runs, the address to open with a QR code of the
// one-time sign-in link.
class WebRemoteDialog : public PasswordSettingsDialog
{
    Q_OBJECT
public:
    WebRemoteDialog(SettingsStore *settings, SecretStore *secrets, UserDialogs *dialogs,
                    WebServer *server, QWidget *parent = nullptr);
    ~WebRemoteDialog() override;

    WebSettings entered() const;
    QLineEdit *listenEdit() const { return m_listen; }
    QLineEdit *certificateEdit() const { return m_certificate; }
    QLineEdit *keyEdit() const { return m_key; }
    // The address shown, the one-time link the QR code holds (empty while off).
    QString addressText() const;
    QString linkText() const { return m_link; }
    const QLabel *qrLabel() const { return m_qr; }

protected:
    QString problems() const override;
    void writeSettings(SettingsStore &settings) const override;

private:
    QLineEdit *m_listen;
    QLineEdit *m_certificate;
    QLineEdit *m_key;
    QLabel *m_address;
    QLabel *m_qr;
    QString m_link;
};
