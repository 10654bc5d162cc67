#include "mqtt/MqttDialog.h"

#include "mqtt/MosquittoClient.h"
#include "platform/SettingsStore.h"
#include "platform/StoredPassword.h"
#include "platform/UserDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QUuid>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr std::chrono::milliseconds kTryLimit {10000};
constexpr std::chrono::milliseconds kStoreLimit {5000};
} // namespace

MqttDialog::MqttDialog(SettingsStore *settings, SecretStore *secrets, UserDialogs *dialogs,
                       const QString &currentPassword, QWidget *parent)
    : QDialog(parent)
    , m_settings(settings)
    , m_secrets(secrets)
    , m_dialogs(dialogs)
    , m_currentPassword(currentPassword)
{
    setWindowTitle(tr("Home automation"));
    const MqttSettings stored = settings ? MqttSettings::load(*settings) : MqttSettings {};
    auto *layout = new QVBoxLayout(this);
    auto *intro
        = new QLabel(tr("Orvane can publish the receiver to an MQTT broker, where a "
                        "home-automation hub finds it by discovery. Leave the broker empty to "
                        "switch this off."),
                     this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    // A field is wide enough for its placeholder, which would otherwise be cut off.
    const auto setPlaceholder = [](QLineEdit *edit, const QString &placeholder) {
        edit->setPlaceholderText(placeholder);
        if (!placeholder.isEmpty())
            edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(placeholder) + 16);
    };
    const auto line = [this, form, setPlaceholder](const QString &label, const QString &text,
                                                   const QString &placeholder) {
        auto *edit = new QLineEdit(text, this);
        setPlaceholder(edit, placeholder);
        edit->setAccessibleName(label);
        form->addRow(label, edit);
        return edit;
    };
    m_broker = line(tr("Broker:"), stored.broker, tr("mqtt://host:1883 or mqtts://host:8883"));
    m_user = line(tr("User:"), stored.user, QString());
    m_password = line(tr("Password:"), QString(),
                      currentPassword.isEmpty() ? QString() : tr("(unchanged)"));
    m_password->setEchoMode(QLineEdit::Password);
    connect(m_password, &QLineEdit::textEdited, this, [this] { m_passwordEdited = true; });
    m_passwordPlace = new QLabel(passwordPlaceText(), this);
    m_passwordPlace->setWordWrap(true);
    form->addRow(QString(), m_passwordPlace);
    m_caFile = new QLineEdit(stored.caFile, this);
    setPlaceholder(m_caFile, tr("the system's certificate authorities"));
    m_caFile->setAccessibleName(tr("CA file:"));
    auto *browse = new QPushButton(tr("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, [this] {
        if (!m_dialogs)
            return;
        const QString path = m_dialogs->openFileName(
            tr("CA certificate"), tr("Certificates (*.pem *.crt);;All files (*)"), QString());
        if (!path.isEmpty())
            m_caFile->setText(path);
    });
    auto *caRow = new QHBoxLayout;
    caRow->addWidget(m_caFile);
    caRow->addWidget(browse);
    form->addRow(tr("CA file:"), caRow);
    // An empty topic is this installation's own default, which the field shows.
    m_installation = stored.installation;
    m_topic = line(tr("Topic:"), stored.topic, MqttSettings::defaultTopic(m_installation));
    m_discovery = line(tr("Discovery prefix:"), stored.discovery, MqttSettings::kDefaultDiscovery);
    m_maxVolume
        = line(tr("Maximum volume (dB):"),
               stored.maxVolume == MqttSettings::receiverTop() || std::isnan(stored.maxVolume)
                   ? QString()
                   : QString::number(stored.maxVolume),
               tr("%1 (the receiver's top)").arg(MqttSettings::receiverTop()));
    m_maxVolume->setToolTip(tr("The hub may not set the volume above this."));
    layout->addLayout(form);

    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_try = buttons->addButton(tr("&Try connection"), QDialogButtonBox::ActionRole);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(m_try, &QPushButton::clicked, this, &MqttDialog::tryBroker);
    connect(buttons, &QDialogButtonBox::accepted, this, &MqttDialog::save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

MqttDialog::~MqttDialog() = default;

MqttSettings MqttDialog::entered() const
{
    MqttSettings settings;
    settings.broker = m_broker->text().trimmed();
    settings.user = m_user->text();
    settings.caFile = m_caFile->text().trimmed();
    settings.installation = m_installation;
    const QString topic = m_topic->text().trimmed();
    settings.topic = topic == MqttSettings::defaultTopic(m_installation) ? QString() : topic;
    settings.discovery = m_discovery->text().trimmed().isEmpty() ? MqttSettings::kDefaultDiscovery
                                                                 : m_discovery->text().trimmed();
    settings.maxVolume = MqttSettings::parseMaxVolume(m_maxVolume->text()).value_or(std::nan(""));
    return settings;
}

QString MqttDialog::enteredPassword() const
{
    return m_passwordEdited ? m_password->text() : m_currentPassword;
}

QString MqttDialog::passwordPlaceText() const
{
    const bool inFile = m_settings
        && !m_settings->readValue(MqttSettings::kSection, MqttSettings::kPasswordKey).isEmpty();
    if (m_secrets && !inFile)
        return tr("The password is kept in the desktop's secret store; when the "
                  "store does not answer, in the settings file, which is then "
                  "readable by you only (mode 0600).");
    return tr("The password is kept in the settings file, which is then readable "
              "by you only (mode 0600).");
}

QString MqttDialog::statusText() const
{
    return m_status->text();
}

void MqttDialog::setStatus(const QString &text)
{
    m_status->setText(text);
}

void MqttDialog::tryBroker()
{
    const MqttSettings settings = entered();
    const QString problems = settings.enabled() ? settings.problems() : tr("Enter a broker first.");
    if (!problems.isEmpty())
        return setStatus(problems);
    auto reachable = settings.clientOptions(enteredPassword());
    if (!reachable) // the problems above include this one
        return;
    MosquittoClient::Options &options = *reachable;
    options.clientId = QStringLiteral("orvane-try-")
        + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);

    m_trial = std::make_unique<MosquittoClient>();
    MosquittoClient *trial = m_trial.get();
    connect(trial, &MosquittoClient::connected, this,
            [this] { endTry(tr("Connected: the broker accepted Orvane.")); });
    connect(trial, &MosquittoClient::disconnected, this,
            [this](const QString &reason) { endTry(tr("Could not connect: %1").arg(reason)); });
    QTimer::singleShot(kTryLimit, trial, [this] {
        endTry(tr("Could not connect: no answer from the broker within %1 s.")
                   .arg(kTryLimit.count() / 1000));
    });
    QString error;
    if (!trial->start(options, &error)) {
        endTry(tr("Could not connect: %1").arg(error));
        return;
    }
    m_try->setEnabled(false);
    setStatus(tr("Trying %1 ...").arg(settings.broker));
}

void MqttDialog::endTry(const QString &text)
{
    if (!m_trial)
        return;
    // Stopping waits at most briefly: the attempt has ended or just connected.
    auto trial = std::move(m_trial);
    trial->disconnect(this);
    trial->stop();
    m_try->setEnabled(true);
    setStatus(text);
}

void MqttDialog::save()
{
    if (m_saving)
        return;
    const MqttSettings settings = entered();
    const QString problems = settings.problems();
    if (!problems.isEmpty()) {
        setStatus(problems);
        if (m_dialogs) {
            UserDialogs::Message message;
            message.text = problems;
            message.icon = UserDialogs::Icon::Exclamation;
            m_dialogs->messageBox(message);
        }
        return;
    }
    if (!m_settings)
        return accept();
    settings.save(*m_settings);
    if (!m_passwordEdited)
        return finishSave(m_settings->flush());
    // The store may take its time (or ask the user to unlock it); the dialog stays
    // responsive, and after a bounded wait the settings file takes the password.
    m_saving = true;
    m_ok->setEnabled(false);
    setStatus(tr("Storing the password..."));
    StoredPassword::write(*m_settings, m_secrets, MqttSettings::passwordPlace(), m_password->text(),
                          this, kStoreLimit,
                          [this](const QString &failure) { finishSave(failure); });
}

void MqttDialog::finishSave(const QString &failure)
{
    m_saving = false;
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
