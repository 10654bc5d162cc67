#include "mqtt/MqttDialog.h"

#include "mqtt/MosquittoClient.h"
#include "platform/SettingsStore.h"
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
} // namespace

MqttDialog::MqttDialog(SettingsStore *settings, SecretStore *secrets, UserDialogs *dialogs,
                       const QString &currentPassword, QWidget *parent)
    : PasswordSettingsDialog(settings, secrets, dialogs, currentPassword,
                             MqttSettings::passwordPlace(), parent)
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
    passwordEdit()->setAccessibleName(tr("Password:"));
    form->addRow(tr("Password:"), passwordEdit());
    form->addRow(QString(), passwordPlaceLabel());
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

    layout->addWidget(statusLabel());

    QDialogButtonBox *buttons = makeButtons();
    m_try = buttons->addButton(tr("&Try connection"), QDialogButtonBox::ActionRole);
    connect(m_try, &QPushButton::clicked, this, &MqttDialog::tryBroker);
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

QString MqttDialog::problems() const
{
    return entered().problems();
}

void MqttDialog::writeSettings(SettingsStore &settings) const
{
    entered().save(settings);
}
