#include "mqtt/MqttBridge.h"

#include "program/ProgramEvents.h"
#include "link/ReceiverLink.h"
#include "mqtt/MosquittoClient.h"
#include "platform/SecretStore.h"
#include "platform/SettingsStore.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QSysInfo>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

using namespace std::chrono_literals;

namespace {
// A password from the secret store is awaited this long; then the bridge goes on without.
constexpr std::chrono::milliseconds kSecretWait {5000};
// A volume step is repeated when its report has not come back within this time, and the
// run given up after three such misses (the receiver is at the end of its range).
constexpr qint64 kStepAnswerMs = 300;
constexpr int kStepMisses = 3;
constexpr std::chrono::milliseconds kStepTick {25};

const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");
const QByteArray kOn = QByteArrayLiteral("ON");
const QByteArray kOff = QByteArrayLiteral("OFF");

// The main volume's range as the receiver reports it: 0x27 is -80 dB, 0xE8 +16.5 dB, in
// steps of 0.5 dB; zone 2 from 0x00 (-80 dB) to 0x50 (0 dB) in whole dB.
constexpr int kMainLowest = 0x27;
constexpr int kMainHighest = 0xE8;
constexpr int kZone2Lowest = 0x00;
constexpr int kZone2Highest = 0x50;
double mainDecibels(int value)
{
    return (value - 199) / 2.0;
}
double zone2Decibels(int value)
{
    return value - 80;
}

using Command = void (ReceiverLink::*)(QString *);
using PlainCommand = void (ReceiverLink::*)();

// The input panel's commands by button index 1 to 14, for each zone.
constexpr Command kMainInputs[]
    = {&ReceiverLink::InputLd,    &ReceiverLink::InputDTv,   &ReceiverLink::InputCblSat,
       &ReceiverLink::InputVcr1,  &ReceiverLink::InputVcr2,  &ReceiverLink::InputVcr3,
       &ReceiverLink::InputVAux,  &ReceiverLink::InputDvd,   &ReceiverLink::InputMd,
       &ReceiverLink::InputTape,  &ReceiverLink::InputTuner, &ReceiverLink::InputCd,
       &ReceiverLink::InputPhono, &ReceiverLink::InputCDR};
constexpr Command kZone2Inputs[] = {
    &ReceiverLink::Zone2InputLd,    &ReceiverLink::Zone2InputDTv,   &ReceiverLink::Zone2InputCblSat,
    &ReceiverLink::Zone2InputVcr1,  &ReceiverLink::Zone2InputVcr2,  &ReceiverLink::Zone2InputVcr3,
    &ReceiverLink::Zone2InputVAux,  &ReceiverLink::Zone2InputDvd,   &ReceiverLink::Zone2InputMd,
    &ReceiverLink::Zone2InputTape,  &ReceiverLink::Zone2InputTuner, &ReceiverLink::Zone2InputCd,
    &ReceiverLink::Zone2InputPhono, &ReceiverLink::Zone2InputCDR};
constexpr Command kInputModes[]
    = {&ReceiverLink::InputModeAuto, &ReceiverLink::InputModeDigital,
       &ReceiverLink::InputModeAnalog, &ReceiverLink::InputModeDD, &ReceiverLink::InputModeDTS};
constexpr int kDspCommandBase = 0x7EE0;

QString installationId()
{
    // Stable for one user on one machine, and says nothing about either.
    const QByteArray seed = QSysInfo::machineUniqueId() + '/' + QDir::homePath().toUtf8();
    return QString::fromLatin1(
        QCryptographicHash::hash(seed, QCryptographicHash::Sha256).toHex().left(12));
}

// A topic or payload fit for one log line.
QString printable(QString text)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    return text.size() > 80 ? text.left(80) + QStringLiteral("...") : text;
}

QString versionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(ORVANE_VERSION_MAJOR)
        .arg(ORVANE_VERSION_MINOR)
        .arg(ORVANE_VERSION_PATCH);
}
} // namespace

struct MqttBridge::Entity
{
    enum Kind {
        Power,
        Volume,
        Mute,
        Input,
        InputMode,
        Dsp,
        SpeakersA,
        SpeakersB,
        SixCh,
        Es61,
        VolumeUp,
        VolumeDown,
        Line1,
        Line2,
        Zone2Input,
        Zone2Volume
    };
    Kind kind;
    const char *object;
    const char *component;
    const char *name;
    const char *icon;
    bool zone2 = false;
};

const std::vector<MqttBridge::Entity> &MqttBridge::entities()
{
    static const std::vector<Entity> list = {
        {Entity::Power, "power", "switch", "Power", "mdi:power"},
        {Entity::Volume, "volume", "number", "Volume", "mdi:volume-high"},
        {Entity::Mute, "mute", "switch", "Mute", "mdi:volume-off"},
        {Entity::Input, "input", "select", "Input", "mdi:import"},
        {Entity::InputMode, "input_mode", "select", "Input mode", "mdi:audio-input-rca"},
        {Entity::Dsp, "dsp_program", "select", "DSP program", "mdi:surround-sound"},
        {Entity::SpeakersA, "speakers_a", "switch", "Speakers A", "mdi:speaker"},
        {Entity::SpeakersB, "speakers_b", "switch", "Speakers B", "mdi:speaker"},
        {Entity::SixCh, "six_channel_input", "switch", "6-channel input", "mdi:surround-sound-5-1"},
        {Entity::Es61, "es61", "switch", "6.1/ES", "mdi:surround-sound-7-1"},
        {Entity::VolumeUp, "volume_up", "button", "Volume up", "mdi:volume-plus"},
        {Entity::VolumeDown, "volume_down", "button", "Volume down", "mdi:volume-minus"},
        {Entity::Line1, "display_line1", "sensor", "Display line 1", "mdi:text"},
        {Entity::Line2, "display_line2", "sensor", "Display line 2", "mdi:text"},
        {Entity::Zone2Input, "zone2_input", "select", "Zone 2 input", "mdi:import", true},
        {Entity::Zone2Volume, "zone2_volume", "number", "Zone 2 volume", "mdi:volume-high", true},
    };
    return list;
}

MqttBridge::MqttBridge(ProgramHost &host, ReceiverLink *link, SettingsStore *settings,
                       SecretStore *secrets, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_link(link)
    , m_settingsStore(settings)
    , m_secrets(secrets)
{
    m_clock.start();
    m_stateDue.setSingleShot(true);
    m_stateDue.setInterval(0);
    connect(&m_stateDue, &QTimer::timeout, this, &MqttBridge::publishChangedStates);
    m_volumeTimer.setInterval(kStepTick);
    connect(&m_volumeTimer, &QTimer::timeout, this, &MqttBridge::stepVolume);

    ProgramEvents *events = m_host.events();
    connect(events, &ProgramEvents::receiverStatusChanged, this, [this] {
        if (m_client)
            m_stateDue.start();
    });
    connect(events, &ProgramEvents::connectedChanged, this, [this](bool connected) {
        if (connected) {
            m_model = m_host.modelInformation();
            publishDiscovery();
        }
        if (m_client)
            m_stateDue.start();
    });
    connect(events, &ProgramEvents::terminating, this, &MqttBridge::stop);
}

MqttBridge::~MqttBridge()
{
    stop();
}

QString MqttBridge::nodeId(const QString &modelCode)
{
    QString model;
    for (const QChar c : modelCode.toLower())
        if (c.isLetterOrNumber() && c.unicode() < 128)
            model += c;
    return QStringLiteral("orvane_") + installationId() + QLatin1Char('_')
        + (model.isEmpty() ? QStringLiteral("unknown") : model);
}

bool MqttBridge::isConnected() const
{
    return m_client && m_client->isConnected();
}

void MqttBridge::start()
{
    stop();
    ++m_generation;
    m_lastProblem.clear();
    m_outageTold = false;
    m_lastRefusal.clear();
    if (!m_settingsStore)
        return;
    m_settings = MqttSettings::load(*m_settingsStore);
    if (!m_settings.enabled())
        return;
    const QString problems = m_settings.problems();
    if (!problems.isEmpty()) {
        problem(QStringLiteral("MQTT bridge off: ") + problems);
        return;
    }
    const QString stored
        = m_settingsStore->readValue(MqttSettings::kSection, MqttSettings::kPasswordKey);
    if (!stored.isEmpty() || !m_secrets || m_settings.user.isEmpty()) {
        // A password in the settings file keeps that file to its owner.
        if (!stored.isEmpty())
            m_settingsStore->restrictToOwner();
        connectWithPassword(stored);
        return;
    }
    // The secret store answers when it likes; the bridge waits for it a bounded time.
    const int generation = m_generation;
    auto answered = std::make_shared<bool>(false);
    m_secrets->read(MqttSettings::kPasswordKey, this,
                    [this, generation, answered](SecretStore::Outcome, const QString &secret) {
                        if (*answered || generation != m_generation)
                            return;
                        *answered = true;
                        connectWithPassword(secret);
                    });
    QTimer::singleShot(kSecretWait, this, [this, generation, answered] {
        if (*answered || generation != m_generation)
            return;
        *answered = true;
        problem(QStringLiteral("MQTT: the secret store did not answer; connecting without a "
                               "password"));
        connectWithPassword(QString());
    });
}

void MqttBridge::connectWithPassword(const QString &password)
{
    m_password = password;
    auto reachable = m_settings.clientOptions(password);
    if (!reachable)
        return;
    MosquittoClient::Options &options = *reachable;
    options.clientId = QStringLiteral("orvane-") + installationId();
    options.willTopic = m_settings.topic + QStringLiteral("/status");
    options.willPayload = kOffline;

    m_client = std::make_unique<MosquittoClient>();
    connect(m_client.get(), &MosquittoClient::connected, this, &MqttBridge::onConnected);
    connect(m_client.get(), &MosquittoClient::disconnected, this, &MqttBridge::onDisconnected);
    connect(m_client.get(), &MosquittoClient::messageReceived, this, &MqttBridge::onMessage);
    QString error;
    if (!m_client->start(options, &error)) {
        m_client.reset();
        problem(QStringLiteral("MQTT bridge off: ") + error);
    }
}

void MqttBridge::stop()
{
    m_volumeTimer.stop();
    m_volume = {};
    if (!m_client)
        return;
    // A clean end says so at once; the broker's last will covers every other end.
    m_client->stop(m_settings.topic + QStringLiteral("/status"), kOffline);
    m_client.reset();
    m_published.clear();
}

void MqttBridge::onConnected()
{
    if (!m_client)
        return;
    if (!m_lastProblem.isEmpty())
        note(QStringLiteral("MQTT: connected to %1").arg(m_settings.broker));
    m_lastProblem.clear();
    m_outageTold = false;
    m_lastRefusal.clear();
    m_published.clear();
    m_client->subscribe(m_settings.topic + QStringLiteral("/+/set"));
    publishAll();
    emit brokerConnected();
}

void MqttBridge::onDisconnected(const QString &reason, qint64 retryInMs)
{
    Q_UNUSED(retryInMs);
    // One message an outage: its first failure, and a broker that refuses for a new
    // reason; the attempts in between are not told.
    const bool refused = reason.startsWith(u"Connection Refused");
    if (m_outageTold && !(refused && reason != m_lastRefusal))
        return;
    m_outageTold = true;
    if (refused)
        m_lastRefusal = reason;
    problem(QStringLiteral("MQTT: no connection to %1: %2 (trying again with growing pauses)")
                .arg(m_settings.broker, reason));
}

void MqttBridge::publishAll()
{
    publish(m_settings.topic + QStringLiteral("/status"), kOnline);
    if (m_model.modelId.isEmpty() && m_host.isConnected())
        m_model = m_host.modelInformation();
    m_node.clear(); // discovery goes out again in full
    publishDiscovery();
    publishChangedStates();
}

QString MqttBridge::topicOf(const QString &object, const char *leaf) const
{
    return m_settings.topic + QLatin1Char('/') + object + QLatin1Char('/') + QLatin1String(leaf);
}

QStringList MqttBridge::optionsOf(const Entity &entity) const
{
    ProgramHost::Panel panel = ProgramHost::Panel::Input;
    if (entity.kind == Entity::InputMode)
        panel = ProgramHost::Panel::InputMode;
    else if (entity.kind == Entity::Dsp)
        panel = ProgramHost::Panel::Dsp;
    QStringList options;
    for (const auto &[index, caption] : m_host.panelOptions(panel))
        options << caption;
    return options;
}

void MqttBridge::publishDiscovery()
{
    if (!m_client || !m_client->isConnected() || m_model.modelId.isEmpty())
        return;
    const QString node = nodeId(m_model.modelId);
    if (node == m_node)
        return;
    // A different receiver: the entities of the one before leave the hub.
    if (!m_node.isEmpty())
        for (const Entity &entity : entities())
            publish(QStringLiteral("%1/%2/%3/%4/config")
                        .arg(m_settings.discovery, QLatin1String(entity.component), m_node,
                             QLatin1String(entity.object)),
                    QByteArray());
    m_node = node;

    QJsonObject device;
    device[u"identifiers"] = QJsonArray {node};
    const QString model = m_model.model.isEmpty() || m_model.model == u"?"
        ? QStringLiteral("Receiver %1").arg(m_model.modelId)
        : m_model.model;
    device[u"name"] = model;
    device[u"model"] = m_model.modelId;
    device[u"sw_version"] = m_model.version;
    QJsonObject origin;
    origin[u"name"] = QStringLiteral("Orvane");
    origin[u"sw_version"] = versionText();
    QJsonArray availability;
    for (const char *leaf : {"status", "receiver"})
        availability.append(QJsonObject {
            {QStringLiteral("topic"), m_settings.topic + QLatin1Char('/') + QLatin1String(leaf)}});

    for (const Entity &entity : entities()) {
        const QString object = QLatin1String(entity.object);
        QJsonObject config;
        config[u"name"] = QLatin1String(entity.name);
        config[u"unique_id"] = node + QLatin1Char('_') + object;
        config[u"object_id"] = QStringLiteral("orvane_") + object;
        config[u"icon"] = QLatin1String(entity.icon);
        config[u"device"] = device;
        config[u"origin"] = origin;
        config[u"availability"] = availability;
        config[u"availability_mode"] = QStringLiteral("all");
        const QString component = QLatin1String(entity.component);
        if (component != u"button")
            config[u"state_topic"] = topicOf(object, "state");
        if (component != u"sensor")
            config[u"command_topic"] = topicOf(object, "set");
        if (component == u"select")
            config[u"options"] = QJsonArray::fromStringList(optionsOf(entity));
        if (component == u"number") {
            const bool zone2 = entity.kind == Entity::Zone2Volume;
            config[u"min"] = zone2 ? zone2Decibels(kZone2Lowest) : mainDecibels(kMainLowest);
            config[u"max"] = zone2 ? zone2Decibels(kZone2Highest) : mainDecibels(kMainHighest);
            config[u"step"] = zone2 ? 1.0 : 0.5;
            config[u"unit_of_measurement"] = QStringLiteral("dB");
            config[u"mode"] = QStringLiteral("slider");
        }
        if (component == u"button")
            config[u"payload_press"] = QStringLiteral("PRESS");
        publish(
            QStringLiteral("%1/%2/%3/%4/config").arg(m_settings.discovery, component, node, object),
            QJsonDocument(config).toJson(QJsonDocument::Compact));
    }
}

QByteArray MqttBridge::stateOf(const Entity &entity,
                               const ProgramHost::ReceiverStatus &status) const
{
    const auto onOff = [](int value) -> QByteArray {
        return value < 0 ? QByteArray() : value ? kOn : kOff;
    };
    const auto caption = [this](ProgramHost::Panel panel, int index) -> QByteArray {
        for (const auto &[option, text] : m_host.panelOptions(panel))
            if (option == index)
                return text.toUtf8();
        return {};
    };
    switch (entity.kind) {
    case Entity::Power:
        return status.power ? (*status.power ? kOn : kOff) : QByteArray();
    case Entity::Volume:
        return status.mainVolume ? QByteArray::number(mainDecibels(*status.mainVolume), 'f', 1)
                                 : QByteArray();
    case Entity::Mute:
        return status.mainMute ? kOn : kOff;
    case Entity::Input:
        return caption(ProgramHost::Panel::Input, status.input);
    case Entity::InputMode:
        return caption(ProgramHost::Panel::InputMode, status.inputMode);
    case Entity::Dsp:
        return caption(ProgramHost::Panel::Dsp, status.dspProgram);
    case Entity::SpeakersA:
        return onOff(status.speakersA);
    case Entity::SpeakersB:
        return onOff(status.speakersB);
    case Entity::SixCh:
        return onOff(status.sixChInput);
    case Entity::Es61:
        return onOff(status.es61);
    case Entity::Line1:
        return status.line1.toUtf8();
    case Entity::Line2:
        return status.line2.toUtf8();
    case Entity::Zone2Input:
        return caption(ProgramHost::Panel::Input, status.zone2Input);
    case Entity::Zone2Volume:
        return status.zone2Volume ? QByteArray::number(zone2Decibels(*status.zone2Volume), 'f', 0)
                                  : QByteArray();
    case Entity::VolumeUp:
    case Entity::VolumeDown:
        break;
    }
    return {};
}

void MqttBridge::publishChangedStates()
{
    if (!m_client || !m_client->isConnected())
        return;
    const ProgramHost::ReceiverStatus status = m_host.receiverStatus();
    publish(m_settings.topic + QStringLiteral("/receiver"), status.connected ? kOnline : kOffline);
    if (!status.connected)
        return;
    for (const Entity &entity : entities()) {
        if (QLatin1String(entity.component) == u"button")
            continue;
        const QByteArray payload = stateOf(entity, status);
        // Unknown values (nothing selected yet) are not published. Display lines may be
        // empty.
        if (payload.isEmpty() && QLatin1String(entity.component) != u"sensor")
            continue;
        publish(topicOf(QLatin1String(entity.object), "state"), payload);
    }
}

void MqttBridge::publish(const QString &topic, const QByteArray &payload)
{
    const auto known = m_published.constFind(topic);
    if (known != m_published.constEnd() && *known == payload)
        return;
    if (m_client && m_client->publish(topic, payload, true))
        m_published.insert(topic, payload);
}

void MqttBridge::onMessage(const QString &topic, const QByteArray &payload)
{
    const QString prefix = m_settings.topic + QLatin1Char('/');
    const QString object = topic.startsWith(prefix) && topic.endsWith(u"/set")
        ? topic.mid(prefix.size(), topic.size() - prefix.size() - 4)
        : QString();
    const auto ignore = [&](const QString &why) {
        note(QStringLiteral("MQTT: ignored %1: %2").arg(printable(topic), why));
    };
    if (payload.size() > kLongestPayload)
        return ignore(QStringLiteral("payload longer than %1 bytes").arg(kLongestPayload));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(payload);
    if (decoder.hasError())
        return ignore(QStringLiteral("payload is not UTF-8"));
    const Entity *entity = nullptr;
    for (const Entity &candidate : entities())
        if (object == QLatin1String(candidate.object)
            && QLatin1String(candidate.component) != u"sensor")
            entity = &candidate;
    if (!entity)
        return ignore(QStringLiteral("no such command"));
    if (!m_host.isConnected() || !m_link)
        return ignore(QStringLiteral("the receiver is not connected"));
    const QString why = execute(*entity, text.trimmed());
    if (!why.isEmpty())
        ignore(QStringLiteral("%1 (\"%2\")").arg(why, printable(text)));
}

bool MqttBridge::takeCommandSlot()
{
    const qint64 now = m_clock.elapsed();
    while (!m_commandTimes.empty() && now - m_commandTimes.front() >= 1000)
        m_commandTimes.pop_front();
    if (m_commandTimes.size() >= size_t(kCommandsPerSecond))
        return false;
    m_commandTimes.push_back(now);
    return true;
}

QString MqttBridge::execute(const Entity &entity, const QString &payload)
{
    const auto onOff = [&]() -> std::optional<bool> {
        if (payload == u"ON")
            return true;
        if (payload == u"OFF")
            return false;
        return std::nullopt;
    };
    const auto indexOf = [&](ProgramHost::Panel panel) -> int {
        for (const auto &[index, caption] : m_host.panelOptions(panel))
            if (caption == payload)
                return index;
        return -1;
    };
    const QString notOnOff = QStringLiteral("not ON or OFF");
    const QString noOption = QStringLiteral("not one of the options");
    const QString tooMany
        = QStringLiteral("more than %1 commands a second").arg(kCommandsPerSecond);
    ReceiverLink &link = *m_link;

    // Check the payload first, then spend a command slot, then send.
    std::function<void()> send;
    switch (entity.kind) {
    case Entity::Power:
    case Entity::Mute:
    case Entity::SpeakersA:
    case Entity::SpeakersB:
    case Entity::SixCh:
    case Entity::Es61: {
        const auto on = onOff();
        if (!on)
            return notOnOff;
        static const std::map<Entity::Kind, std::pair<Command, Command>> kSwitches = {
            {Entity::Power, {&ReceiverLink::PowerOn, &ReceiverLink::PowerOff}},
            {Entity::Mute, {&ReceiverLink::MasterVolMuteOn, &ReceiverLink::MasterVolMuteOff}},
            {Entity::SpeakersA, {&ReceiverLink::SpeakersAOn, &ReceiverLink::SpeakersAOff}},
            {Entity::SpeakersB, {&ReceiverLink::SpeakersBOn, &ReceiverLink::SpeakersBOff}},
            {Entity::SixCh, {&ReceiverLink::Input6ChOn, &ReceiverLink::Input6ChOff}},
            {Entity::Es61, {&ReceiverLink::Dsp61ESOn, &ReceiverLink::Dsp61ESOff}},
        };
        const auto &[onCommand, offCommand] = kSwitches.at(entity.kind);
        const Command command = *on ? onCommand : offCommand;
        send = [&link, command] { (link.*command)(nullptr); };
        break;
    }
    case Entity::Input:
    case Entity::Zone2Input: {
        const int index = indexOf(ProgramHost::Panel::Input);
        if (index < 1 || index > 14)
            return noOption;
        const Command command
            = (entity.kind == Entity::Input ? kMainInputs : kZone2Inputs)[index - 1];
        send = [&link, command] { (link.*command)(nullptr); };
        break;
    }
    case Entity::InputMode: {
        const int index = indexOf(ProgramHost::Panel::InputMode);
        if (index < 1 || index > 5)
            return noOption;
        const Command command = kInputModes[index - 1];
        send = [&link, command] { (link.*command)(nullptr); };
        break;
    }
    case Entity::Dsp: {
        const int index = indexOf(ProgramHost::Panel::Dsp);
        if (index < 0 || index > 31)
            return noOption;
        const QString code
            = QLatin1Char('0') + QString::number(kDspCommandBase + index, 16).toUpper();
        send = [&link, code] { link.SendCommand(code); };
        break;
    }
    case Entity::VolumeUp:
    case Entity::VolumeDown: {
        if (payload != u"PRESS")
            return QStringLiteral("not PRESS");
        // The zone the volume keys act on, as the hot keys do.
        const bool zone2 = m_host.receiverStatus().zone2Mode;
        const bool up = entity.kind == Entity::VolumeUp;
        const PlainCommand command = zone2
            ? (up ? &ReceiverLink::Zone2VolUpFast : &ReceiverLink::Zone2VolDownFast)
            : (up ? &ReceiverLink::MasterVolUpFast : &ReceiverLink::MasterVolDownFast);
        send = [&link, command] { (link.*command)(); };
        break;
    }
    case Entity::Volume:
    case Entity::Zone2Volume: {
        bool ok = false;
        const double decibels = payload.toDouble(&ok);
        if (!ok || !std::isfinite(decibels))
            return QStringLiteral("not a number");
        const bool zone2 = entity.kind == Entity::Zone2Volume;
        const int value
            = zone2 ? int(std::lround(decibels)) + 80 : int(std::lround(decibels * 2)) + 199;
        const int lowest = zone2 ? kZone2Lowest : kMainLowest;
        const int highest = zone2 ? kZone2Highest : kMainHighest;
        if (value < lowest || value > highest)
            return QStringLiteral("outside the receiver's range");
        m_volume = {};
        m_volume.zone2 = zone2;
        m_volume.target = value;
        m_volume.from = -2;
        stepVolume();
        m_volumeTimer.start();
        return {};
    }
    case Entity::Line1:
    case Entity::Line2:
        return QStringLiteral("no such command");
    }
    if (!takeCommandSlot())
        return tooMany;
    send();
    return {};
}

void MqttBridge::stepVolume()
{
    const ProgramHost::ReceiverStatus status = m_host.receiverStatus();
    const std::optional<int> current = m_volume.zone2 ? status.zone2Volume : status.mainVolume;
    const qint64 now = m_clock.elapsed();
    const auto finish = [this] {
        m_volumeTimer.stop();
        m_volume = {};
    };
    if (m_volume.target < 0 || !status.connected || !m_link)
        return finish();
    if (m_volume.from != -2) {
        // A step is out: wait for its report, repeat it when none came.
        const bool answered = current && *current != m_volume.from;
        if (!answered) {
            if (now - m_volume.sentAt < kStepAnswerMs)
                return;
            if (++m_volume.misses >= kStepMisses)
                return finish();
        }
        m_volume.from = -2;
    }
    if (current && *current == m_volume.target)
        return finish();
    if (!takeCommandSlot())
        return;
    // Before the receiver has reported a volume, one step down tells where it stands.
    const bool up = current && *current < m_volume.target;
    if (m_volume.zone2)
        up ? m_link->Zone2VolUpFast() : m_link->Zone2VolDownFast();
    else
        up ? m_link->MasterVolUpFast() : m_link->MasterVolDownFast();
    m_volume.from = current.value_or(-1);
    m_volume.sentAt = now;
}

void MqttBridge::note(const QString &line)
{
    emit logged(line);
    if (m_link)
        m_link->LogNote(line);
}

void MqttBridge::problem(const QString &text)
{
    if (text == m_lastProblem)
        return;
    m_lastProblem = text;
    note(text);
    std::fprintf(stderr, "Orvane: %s\n", qPrintable(text));
}
