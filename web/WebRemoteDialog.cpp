#include "web/WebRemoteDialog.h"

#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"
#include "web/QrCode.h"
#include "web/WebServer.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

WebRemoteDialog::WebRemoteDialog(SettingsStore *settings, SecretStore *secrets,
                                 UserDialogs *dialogs, WebServer *server, QWidget *parent)
    : PasswordSettingsDialog(settings, secrets, dialogs, server ? server->password() : QString(),
                             WebSettings::passwordPlace(), parent)
{
    setWindowTitle(tr("Web remote"));
    const WebSettings stored = settings ? WebSettings::load(*settings) : WebSettings {};
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Orvane can serve a remote to the browsers of phones, tablets and "
                                "computers at home. Leave the address empty to switch it off; "
                                "127.0.0.1:8780 serves this computer only, 0.0.0.0:8780 the home "
                                "network (a password is needed then)."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    const auto line
        = [this, form](const QString &label, const QString &text, const QString &placeholder) {
              auto *edit = new QLineEdit(text, this);
              edit->setPlaceholderText(placeholder);
              edit->setAccessibleName(label);
              form->addRow(label, edit);
              return edit;
          };
    m_listen = line(tr("Listen on:"), stored.listen, tr("off"));
    passwordEdit()->setAccessibleName(tr("Password:"));
    form->addRow(tr("Password:"), passwordEdit());
    form->addRow(QString(), passwordPlaceLabel());
    const auto file
        = [this, form](const QString &label, const QString &text, const QString &title) {
              auto *edit = new QLineEdit(text, this);
              edit->setPlaceholderText(tr("none: plain HTTP"));
              edit->setAccessibleName(label);
              auto *browse = new QPushButton(tr("Browse..."), this);
              browse->setAccessibleName(label + QStringLiteral(" browse"));
              connect(browse, &QPushButton::clicked, this, [this, edit, title] {
                  if (!m_dialogs)
                      return;
                  const QString path = m_dialogs->openFileName(
                      title, tr("PEM files (*.pem *.crt *.key);;All files (*)"), QString());
                  if (!path.isEmpty())
                      edit->setText(path);
              });
              auto *row = new QHBoxLayout;
              row->addWidget(edit);
              row->addWidget(browse);
              form->addRow(label, row);
              return edit;
          };
    m_certificate = file(tr("Certificate:"), stored.certificate, tr("Certificate (PEM)"));
    m_key = file(tr("Key:"), stored.key, tr("Private key (PEM)"));
    layout->addLayout(form);

    m_address = new QLabel(this);
    m_address->setWordWrap(true);
    m_address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_address);
    m_qr = new QLabel(this);
    m_qr->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_qr);
    if (server && server->isListening()) {
        m_link = server->oneTimeLink();
        m_address->setText(tr("Open %1 in a browser, or point a phone's camera at the code to "
                              "sign in once without the password:")
                               .arg(server->address()));
        const QImage code = qrCodeImage(m_link, 4);
        m_qr->setPixmap(QPixmap::fromImage(code));
        m_qr->setAccessibleName(tr("QR code of the sign-in link"));
        m_qr->setToolTip(m_link);
    } else {
        const QString problem = server ? server->lastProblem() : QString();
        m_address->setText(problem.isEmpty() ? tr("The web remote is off.") : problem);
    }

    layout->addWidget(statusLabel());
    layout->addWidget(makeButtons());
}

WebRemoteDialog::~WebRemoteDialog() = default;

WebSettings WebRemoteDialog::entered() const
{
    WebSettings settings;
    settings.listen = m_listen->text().trimmed();
    settings.certificate = m_certificate->text().trimmed();
    settings.key = m_key->text().trimmed();
    return settings;
}

QString WebRemoteDialog::addressText() const
{
    return m_address->text();
}

QString WebRemoteDialog::problems() const
{
    return entered().problems(enteredPassword());
}

void WebRemoteDialog::writeSettings(SettingsStore &settings) const
{
    entered().save(settings);
}
