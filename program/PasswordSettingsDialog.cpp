#include "program/PasswordSettingsDialog.h"

#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {
constexpr std::chrono::milliseconds kStoreLimit {5000};
} // namespace

PasswordSettingsDialog::PasswordSettingsDialog(SettingsStore *settings, SecretStore *secrets,
                                               UserDialogs *dialogs, const QString &currentPassword,
                                               const StoredPassword::Place &place, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_secrets(secrets)
    , m_dialogs(dialogs)
    , m_currentPassword(currentPassword)
    , m_place(place)
    , m_password(new QLineEdit(this))
    , m_passwordPlace(new QLabel(this))
    , m_status(new QLabel(this))
{
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(currentPassword.isEmpty() ? QString() : tr("(unchanged)"));
    connect(m_password, &QLineEdit::textEdited, this, [this] { m_passwordEdited = true; });
    m_passwordPlace->setText(passwordPlaceText());
    m_passwordPlace->setWordWrap(true);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

PasswordSettingsDialog::~PasswordSettingsDialog() = default;

void PasswordSettingsDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous() && layout() && screen()) {
        const QRect area = screen()->availableGeometry();
        const int wide = qMin(qMax(width(), sizeHint().width()), area.width());
        const int tall = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(wide)
                                                       : sizeHint().height();
        if (wide > width() || tall > height())
            resize(wide, qMin(qMax(height(), tall), area.height()));
    }
    QDialog::showEvent(event);
}

QString PasswordSettingsDialog::statusText() const
{
    return m_status->text();
}

QString PasswordSettingsDialog::passwordPlaceText() const
{
    // A password already in the settings file is read from there.
    const bool inFile
        = m_settings && !m_settings->readValue(m_place.section, m_place.fileKey).isEmpty();
    if (m_secrets && !inFile)
        return tr("The password is kept in the desktop's secret store; when the "
                  "store does not answer, in the settings file, which is then "
                  "readable by you only (mode 0600).");
    return tr("The password is kept in the settings file, which is then readable "
              "by you only (mode 0600).");
}

QString PasswordSettingsDialog::enteredPassword() const
{
    return m_passwordEdited ? m_password->text() : m_currentPassword;
}

void PasswordSettingsDialog::setStatus(const QString &text)
{
    m_status->setText(text);
}

QDialogButtonBox *PasswordSettingsDialog::makeButtons()
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordSettingsDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void PasswordSettingsDialog::save()
{
    if (m_saving)
        return;
    const QString wrong = problems();
    if (!wrong.isEmpty()) {
        setStatus(wrong);
        if (m_dialogs) {
            UserDialogs::Message message;
            message.text = wrong;
            message.icon = UserDialogs::Icon::Exclamation;
            m_dialogs->messageBox(message);
        }
        return;
    }
    if (!m_settings)
        return accept();
    writeSettings(*m_settings);
    if (!m_passwordEdited)
        return finishSave(m_settings->flush());
    // The store may take its time (or ask the user to unlock it); the dialog stays
    // responsive, and after a bounded wait the settings file takes the password.
    m_saving = true;
    if (m_ok)
        m_ok->setEnabled(false);
    setStatus(tr("Storing the password..."));
    StoredPassword::write(*m_settings, m_secrets, m_place, m_password->text(), this, kStoreLimit,
                          [this](const QString &failure) { finishSave(failure); });
}

void PasswordSettingsDialog::finishSave(const QString &failure)
{
    m_saving = false;
    if (m_ok)
        m_ok->setEnabled(true);
    if (!failure.isEmpty()) {
        setStatus(failure);
        if (m_dialogs)
            m_dialogs->inform(failure, UserDialogs::Icon::Exclamation);
        return;
    }
    emit saved();
    accept();
}
