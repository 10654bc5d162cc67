#include "mqtt/MqttBridge.h"

#include "link/ReceiverLink.h"
#include "link/ReceiverModels.h"
#include "link/ReceiverVocabulary.h"
#include "mqtt/MosquittoClient.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "platform/StoredPassword.h"
#include "program/PrintableText.h"
#include "program/ProgramEvents.h"
#include "program/VersionText.h"
#include "program/VolumeRamp.h"
#include "state/VolumeText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

using namespace std::chrono_literals;
namespace Vocabulary = ReceiverVocabulary;

namespace {
// A password from the secret store is awaited this long; then the bridge goes on without.
constexpr std::chrono::milliseconds kSecretWait {5000};
// A volume step is repeated when its report has not come back within this time, and the
// run given up after three such misses (the receiver is at the end of its range).
// Looking through the broker's retained discovery ends when the bridge's own probe comes
// back (the broker sends what it kept before it), or after this at the latest.
constexpr std::chrono::milliseconds kSweepLimit {3000};
// After the hub's birth message the bridge republishes after a random pause in this
// range, so that a broker with many devices is not flooded at once.
constexpr int kRepublishLowestMs = 200;
constexpr int kRepublishHighestMs = 1500;
// A topic or payload in a log line is cut to this length.
constexpr qsizetype kShownLength = 80;

const QByteArray kOnline = QByteArrayLiteral("online");
const QByteArray kOffline = QByteArrayLiteral("offline");
const QByteArray kOn = QByteArrayLiteral("ON");
const QByteArray kOff = QByteArrayLiteral("OFF");
// What the hub reads as "unknown".
const QByteArray kUnknown = QByteArrayLiteral("None");

// A topic or payload fit for one log line.
QString shown(const QString &text)
{
    const QString printable = printableText(text);
    return printable.size() > kShownLength ? printable.left(kShownLength) + QStringLiteral("...")
                                           : printable;
}

// A display line as a person reads it: the volume bar's character as a block, nothing
// that moves a cursor.
QString readable(const QString &line)
{
    QString text = line;
    text.replace(QChar(0x7F), QChar(0x2588));
    return printableText(text).trimmed();
}

QByteArray onOff(int value)
{
    return value < 0 ? kUnknown : value ? kOn : kOff;
}

std::chrono::milliseconds asMs(std::chrono::nanoseconds duration)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(duration);
}

// The switch of the receiver vocabulary an entity turns on and off.
std::optional<Vocabulary::Switch> switchOf(HubEntities::Kind kind)
{
    using Kind = HubEntities::Kind;
    switch (kind) {
    case Kind::Power:
        return Vocabulary::Switch::Power;
    case Kind::Mute:
        return Vocabulary::Switch::MainMute;
    case Kind::Zone2Mute:
        return Vocabulary::Switch::Zone2Mute;
    case Kind::SpeakersA:
        return Vocabulary::Switch::SpeakersA;
    case Kind::SpeakersB:
        return Vocabulary::Switch::SpeakersB;
    case Kind::SixChInput:
        return Vocabulary::Switch::SixChInput;
    case Kind::Es61:
        return Vocabulary::Switch::Es61;
    default:
        return std::nullopt;
    }
}
} // namespace

MqttBridge::MqttBridge(ProgramHost &host, ReceiverLink *link, SettingsStore *settings,
                       SecretStore *secrets, Clock *clock, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_link(link)
    , m_settingsStore(settings)
    , m_secrets(secrets)
    , m_clock(clock)
    , m_volume(host, link, clock, [this](std::chrono::nanoseconds now) { return m_commands.take(now); })
{
    Q_ASSERT(m_clock);
    m_stateDue.setSingleShot(true);
    m_stateDue.setInterval(0);
    connect(&m_stateDue, &QTimer::timeout, this, &MqttBridge::publishChangedStates);
    m_displayDue.setSingleShot(true);
    connect(&m_displayDue, &QTimer::timeout, this, &MqttBridge::sendDisplay);
    m_sweepLimit.setSingleShot(true);
    m_sweepLimit.setInterval(kSweepLimit);
    connect(&m_sweepLimit, &QTimer::timeout, this, &MqttBridge::endSweep);
    m_republishDue.setSingleShot(true);
    connect(&m_republishDue, &QTimer::timeout, this, [this] {
        m_published.clear();
        m_receiverShown.clear();
        publishAll();
    });

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
        publishReceiver();
        if (m_client)
            m_stateDue.start();
    });
    connect(events, &ProgramEvents::reportReceived, this, &MqttBridge::onReport);
    connect(events, &ProgramEvents::terminating, this, &MqttBridge::stop);
}

MqttBridge::~MqttBridge()
{
    stop();
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
    m_outage = false;
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
    // The secret store answers when it likes; the bridge waits for it a bounded time. It
    // is not asked for a password without a user name.
    const int generation = m_generation;
    StoredPassword::read(*m_settingsStore, m_settings.user.isEmpty() ? nullptr : m_secrets,
                         MqttSettings::passwordPlace(), this, kSecretWait,
                         [this, generation](const QString &password, bool answered) {
                             if (generation != m_generation)
                                 return;
                             if (!answered)
                                 problem(QStringLiteral("MQTT: the secret store did not answer; "
                                                        "connecting without a password"));
                             connectWithPassword(password);
                         });
}

void MqttBridge::connectWithPassword(const QString &password)
{
    m_password = password;
    auto reachable = m_settings.clientOptions(password);
    if (!reachable)
        return;
    const QString base = m_settings.baseTopic();
    MosquittoClient::Options options = *reachable;
    options.clientId = QStringLiteral("orvane-") + m_settings.installation;
    options.willTopic = base + QStringLiteral("/status");
    options.willPayload = kOffline;

    m_client = std::make_unique<MosquittoClient>();
    connect(m_client.get(), &MosquittoClient::connected, this, &MqttBridge::onConnected);
    connect(m_client.get(), &MosquittoClient::disconnected, this, &MqttBridge::onDisconnected);
    connect(m_client.get(), &MosquittoClient::messageReceived, this, &MqttBridge::onMessage);
    QString error;
    if (!m_client->start(options, &error)) {
        m_client.reset();
        problem(QStringLiteral("MQTT bridge off: ") + error);
        return;
    }
    // Its failures are the main connection's; it only keeps the receiver's availability.
    options.clientId += QStringLiteral("-receiver");
    options.willTopic = base + QStringLiteral("/receiver");
    m_receiverClient = std::make_unique<MosquittoClient>();
    connect(m_receiverClient.get(), &MosquittoClient::connected, this, [this] {
        m_receiverShown.clear();
        publishReceiver();
    });
    m_receiverClient->start(options);
}

void MqttBridge::stop()
{
    m_volume.stop();
    m_displayDue.stop();
    m_republishDue.stop();
    m_sweepLimit.stop();
    m_sweeping = false;
    m_found.clear();
    const QString base = m_settings.baseTopic();
    // A clean end says so at once; the broker's last will covers every other end.
    if (m_receiverClient) {
        m_receiverClient->stop(base + QStringLiteral("/receiver"), kOffline);
        m_receiverClient.reset();
    }
    if (m_client) {
        m_client->stop(base + QStringLiteral("/status"), kOffline);
        m_client.reset();
    }
    m_published.clear();
    m_receiverShown.clear();
}

void MqttBridge::onConnected()
{
    if (!m_client)
        return;
    if (m_outage)
        note(QStringLiteral("MQTT: connected to %1 again after %2 s")
                 .arg(m_settings.broker)
                 .arg(asMs(m_clock->monotonic() - m_outageSince).count() / 1000));
    m_lastProblem.clear();
    m_outage = false;
    m_published.clear();
    const QString base = m_settings.baseTopic();
    m_client->subscribe(base + QStringLiteral("/+/set"));
    m_client->subscribe(m_settings.discovery + QStringLiteral("/status"));
    // What the broker kept of this installation's discovery comes first, then the probe:
    // whatever the bridge does not offer now is removed then.
    m_sweeping = true;
    m_found.clear();
    if (m_legacyNodes.isEmpty())
        m_legacyNodes = HubEntities::nodeId(MqttSettings::legacyInstallation()) + QLatin1Char('_');
    m_sweepToken = QByteArray::number(QRandomGenerator::global()->generate64(), 16);
    m_client->subscribe(m_settings.discovery + QStringLiteral("/+/+/+/config"));
    m_client->subscribe(base + QStringLiteral("/bridge"));
    m_client->publish(base + QStringLiteral("/bridge"), m_sweepToken, false);
    m_sweepLimit.start();
    publishAll();
    emit brokerConnected();
}

void MqttBridge::onDisconnected(const QString &reason, qint64 retryInMs)
{
    m_sweeping = false;
    m_sweepLimit.stop();
    m_lastProblem = reason;
    if (m_outage)
        return;
    // One line for the whole outage; the next when it ends.
    m_outage = true;
    m_outageSince = m_clock->monotonic();
    const QString line = QStringLiteral("MQTT: no connection to %1: %2; trying again from "
                                        "time to time (first in %3 s)")
                             .arg(m_settings.broker, reason)
                             .arg(double(retryInMs) / 1000);
    note(line);
    std::fprintf(stderr, "Orvane: %s\n", qPrintable(line));
}

void MqttBridge::publishAll()
{
    if (!m_client || !m_client->isConnected())
        return;
    publish(m_settings.baseTopic() + QStringLiteral("/status"), kOnline);
    if (m_model.modelId.isEmpty() && m_host.isConnected())
        m_model = m_host.modelInformation();
    publishDiscovery();
    publishChangedStates();
    publishReceiver();
}

void MqttBridge::publishReceiver()
{
    if (!m_receiverClient || !m_receiverClient->isConnected())
        return;
    const QByteArray payload = m_host.isConnected() ? kOnline : kOffline;
    if (payload == m_receiverShown)
        return;
    if (m_receiverClient->publish(m_settings.baseTopic() + QStringLiteral("/receiver"), payload,
                                  true))
        m_receiverShown = payload;
}

QString MqttBridge::topicOf(const QString &object, const char *leaf) const
{
    return m_settings.baseTopic() + QLatin1Char('/') + object + QLatin1Char('/')
        + QLatin1String(leaf);
}

QString MqttBridge::configTopic(const Entity &entity) const
{
    return QStringLiteral("%1/%2/%3/%4/config")
        .arg(m_settings.discovery, QLatin1String(entity.component),
             HubEntities::nodeId(m_settings.installation), QLatin1String(entity.object));
}

QStringList MqttBridge::optionsOf(const Entity &entity) const
{
    QStringList options;
    if (entity.kind == Kind::Sleep) {
        for (const int minutes : Vocabulary::sleepChoices())
            options << Vocabulary::sleepCaption(minutes);
        return options;
    }
    ProgramHost::Panel panel = ProgramHost::Panel::Input;
    if (entity.kind == Kind::InputMode)
        panel = ProgramHost::Panel::InputMode;
    else if (entity.kind == Kind::Dsp)
        panel = ProgramHost::Panel::Dsp;
    for (const auto &[index, caption] : m_host.panelOptions(panel))
        options << caption;
    return options;
}

bool MqttBridge::hasZone2() const
{
    // The program knows zone 2 of every model in its model table (the zone-2 commands
    // and the zone-2 mode serve them all); of another receiver once it reported a zone-2
    // volume.
    return modelName(m_model.modelId) != u"?" || m_zone2Seen;
}

bool MqttBridge::offers(const Entity &entity) const
{
    return !entity.zone2 || hasZone2();
}

double MqttBridge::maxVolume() const
{
    return std::isnan(m_settings.maxVolume) ? MqttSettings::receiverTop() : m_settings.maxVolume;
}

QByteArray MqttBridge::configOf(const Entity &entity) const
{
    const QString installation = m_settings.installation;
    const QString node = HubEntities::nodeId(installation);
    const QString modelName = m_model.model.isEmpty() || m_model.model == u"?"
        ? QStringLiteral("Receiver %1").arg(m_model.modelId)
        : m_model.model;
    QJsonObject device;
    if (entity.zone2) {
        device[u"identifiers"] = QJsonArray {HubEntities::zone2DeviceId(installation)};
        device[u"name"] = QStringLiteral("Orvane receiver zone 2");
        device[u"via_device"] = node;
    } else {
        device[u"identifiers"] = QJsonArray {node};
        device[u"name"] = QStringLiteral("Orvane receiver");
        device[u"sw_version"] = m_model.version;
    }
    device[u"model"] = modelName;
    device[u"model_id"] = m_model.modelId;
    QJsonObject origin;
    origin[u"name"] = QStringLiteral("Orvane");
    origin[u"sw_version"] = Modul_Orvane::FullVersionText();
    QJsonArray availability;
    for (const char *leaf : {"status", "receiver"})
        availability.append(
            QJsonObject {{QStringLiteral("topic"),
                          m_settings.baseTopic() + QLatin1Char('/') + QLatin1String(leaf)}});

    const QString object = QLatin1String(entity.object);
    const QString component = QLatin1String(entity.component);
    QJsonObject config;
    config[u"name"] = QLatin1String(entity.name);
    config[u"unique_id"] = HubEntities::uniqueId(installation, entity);
    config[u"default_entity_id"] = HubEntities::defaultEntityId(entity);
    // Read by hubs from before default_entity_id.
    config[u"object_id"] = QStringLiteral("orvane_") + object;
    config[u"icon"] = QLatin1String(entity.icon);
    if (entity.category)
        config[u"entity_category"] = QLatin1String(entity.category);
    config[u"device"] = device;
    config[u"origin"] = origin;
    config[u"availability"] = availability;
    config[u"availability_mode"] = QStringLiteral("all");
    if (component != u"button")
        config[u"state_topic"] = topicOf(object, "state");
    if (component != u"sensor")
        config[u"command_topic"] = topicOf(object, "set");
    if (component == u"select")
        config[u"options"] = QJsonArray::fromStringList(optionsOf(entity));
    if (component == u"number") {
        const bool zone2 = entity.kind == Kind::Zone2Volume;
        config[u"min"] = zone2 ? VolumeText::zone2Decibels(VolumeText::kZone2Lowest)
                               : MqttSettings::receiverBottom();
        config[u"max"] = zone2 ? VolumeText::zone2Decibels(VolumeText::kZone2Highest) : maxVolume();
        config[u"step"] = zone2 ? 1.0 : 0.5;
        config[u"unit_of_measurement"] = QStringLiteral("dB");
        config[u"mode"] = QStringLiteral("slider");
        if (!zone2)
            config[u"json_attributes_topic"] = topicOf(object, "attributes");
    }
    if (component == u"button")
        config[u"payload_press"] = QStringLiteral("PRESS");
    if (component == u"sensor")
        config[u"value_template"] = QStringLiteral("{{ value_json.text }}");
    return QJsonDocument(config).toJson(QJsonDocument::Compact);
}

void MqttBridge::publishDiscovery()
{
    if (!m_client || !m_client->isConnected() || m_model.modelId.isEmpty())
        return;
    for (const Entity &entity : HubEntities::all())
        if (offers(entity))
            publish(configTopic(entity), configOf(entity));
    removeStale();
}

void MqttBridge::removeStale()
{
    // Only once the receiver is known: what it offers decides what is stale, and
    // removing a configuration the bridge is about to publish again would cost the hub
    // its entity.
    if (m_sweeping || m_model.modelId.isEmpty() || !m_client || !m_client->isConnected())
        return;
    QSet<QString> offered;
    QSet<QString> inUse;
    for (const Entity &entity : HubEntities::all()) {
        if (!offers(entity))
            continue;
        offered.insert(configTopic(entity));
        inUse.insert(topicOf(QLatin1String(entity.object), "state"));
        inUse.insert(topicOf(QLatin1String(entity.object), "attributes"));
    }
    QHash<QString, QByteArray> candidates = m_found;
    for (auto it = m_published.cbegin(); it != m_published.cend(); ++it)
        if (it.key().startsWith(m_settings.discovery + QLatin1Char('/'))
            && it.key().endsWith(u"/config") && !it.value().isEmpty())
            candidates.insert(it.key(), it.value());
    m_found.clear();
    for (auto it = candidates.cbegin(); it != candidates.cend(); ++it) {
        if (offered.contains(it.key()))
            continue;
        publish(it.key(), QByteArray());
        // The states an earlier configuration named go with it.
        const QJsonObject config = QJsonDocument::fromJson(it.value()).object();
        for (const char *key : {"state_topic", "json_attributes_topic"}) {
            const QString topic = config.value(QLatin1String(key)).toString();
            if (!topic.isEmpty() && !inUse.contains(topic)
                && MqttSettings::checkTopic(QString(), topic).isEmpty())
                publish(topic, QByteArray());
        }
    }
}

void MqttBridge::endSweep()
{
    if (!m_sweeping)
        return;
    m_sweeping = false;
    m_sweepLimit.stop();
    if (m_client) {
        m_client->unsubscribe(m_settings.discovery + QStringLiteral("/+/+/+/config"));
        m_client->unsubscribe(m_settings.baseTopic() + QStringLiteral("/bridge"));
    }
    removeStale();
    emit sweepFinished();
}

std::optional<QByteArray> MqttBridge::stateOf(const Entity &entity,
                                              const ProgramHost::ReceiverStatus &status) const
{
    const auto caption = [this](ProgramHost::Panel panel, int index) -> QByteArray {
        for (const auto &[option, text] : m_host.panelOptions(panel))
            if (option == index)
                return text.toUtf8();
        return kUnknown;
    };
    const auto display = [](const QString &line) {
        return QJsonDocument(QJsonObject {{QStringLiteral("text"), readable(line)}})
            .toJson(QJsonDocument::Compact);
    };
    switch (entity.kind) {
    case Kind::Power:
        return status.power ? (*status.power ? kOn : kOff) : kUnknown;
    case Kind::Volume:
        return status.mainVolume
            ? QByteArray::number(VolumeText::mainDecibels(*status.mainVolume), 'f', 1)
            : kUnknown;
    case Kind::Zone2Volume:
        return status.zone2Volume
            ? QByteArray::number(VolumeText::zone2Decibels(*status.zone2Volume), 'f', 0)
            : kUnknown;
    case Kind::Mute:
        return m_heard.mainMute() ? (status.mainMute ? kOn : kOff) : kUnknown;
    case Kind::Zone2Mute:
        return m_heard.zone2Mute() ? (status.zone2Mute ? kOn : kOff) : kUnknown;
    case Kind::Input:
        return caption(ProgramHost::Panel::Input, status.input);
    case Kind::Zone2Input:
        return caption(ProgramHost::Panel::Input, status.zone2Input);
    case Kind::InputMode:
        return caption(ProgramHost::Panel::InputMode, status.inputMode);
    case Kind::Dsp:
        return caption(ProgramHost::Panel::Dsp, status.dspProgram);
    case Kind::SpeakersA:
        return onOff(status.speakersA);
    case Kind::SpeakersB:
        return onOff(status.speakersB);
    case Kind::SixChInput:
        return onOff(status.sixChInput);
    case Kind::Es61:
        return onOff(status.es61);
    case Kind::Sleep:
        return m_heard.sleepMinutes() ? Vocabulary::sleepCaption(*m_heard.sleepMinutes()).toUtf8()
                                      : kUnknown;
    case Kind::Line1:
        return display(status.line1);
    case Kind::Line2:
        return display(status.line2);
    case Kind::VolumeUp:
    case Kind::VolumeDown:
    case Kind::Memory:
    case Kind::Zone2VolumeUp:
    case Kind::Zone2VolumeDown:
        break;
    }
    return std::nullopt;
}

void MqttBridge::publishChangedStates()
{
    if (!m_client || !m_client->isConnected())
        return;
    const ProgramHost::ReceiverStatus status = m_host.receiverStatus();
    if (status.zone2Volume && !m_zone2Seen) {
        const bool offered = hasZone2();
        m_zone2Seen = true;
        if (!offered)
            publishDiscovery();
    }
    for (const Entity &entity : HubEntities::all()) {
        if (!offers(entity) || entity.kind == Kind::Line1 || entity.kind == Kind::Line2)
            continue;
        if (const auto payload = stateOf(entity, status))
            publish(topicOf(QLatin1String(entity.object), "state"), *payload);
    }
    if (status.mainVolume) {
        // Where the volume stands between the slider's ends, for a media player's level.
        const double low = MqttSettings::receiverBottom();
        const double level = std::clamp(
            (VolumeText::mainDecibels(*status.mainVolume) - low) / (maxVolume() - low), 0.0, 1.0);
        publish(
            topicOf(QStringLiteral("volume"), "attributes"),
            QJsonDocument(QJsonObject {{QStringLiteral("level"), std::round(level * 1000) / 1000}})
                .toJson(QJsonDocument::Compact));
    }
    publishDisplay();
}

void MqttBridge::publishDisplay()
{
    // While a pause runs, its end sends the latest lines.
    if (!m_client || !m_client->isConnected() || m_displayDue.isActive())
        return;
    const auto now = m_clock->monotonic();
    if (m_displayShownAt && now - *m_displayShownAt < kDisplayInterval) {
        m_displayDue.start(asMs(kDisplayInterval - (now - *m_displayShownAt)));
        return;
    }
    sendDisplay();
}

void MqttBridge::sendDisplay()
{
    if (!m_client || !m_client->isConnected())
        return;
    const ProgramHost::ReceiverStatus status = m_host.receiverStatus();
    bool changed = false;
    for (const Kind kind : {Kind::Line1, Kind::Line2}) {
        const Entity *entity = HubEntities::find(kind);
        const QString topic = topicOf(QLatin1String(entity->object), "state");
        const QByteArray payload = stateOf(*entity, status).value_or(QByteArray());
        if (m_published.value(topic) != payload) {
            publish(topic, payload);
            changed = true;
        }
    }
    if (changed)
        m_displayShownAt = m_clock->monotonic();
}

void MqttBridge::publish(const QString &topic, const QByteArray &payload)
{
    const auto known = m_published.constFind(topic);
    if (known != m_published.constEnd() && *known == payload)
        return;
    // All of it goes out again on the next connect, so a lost connection loses nothing;
    // and without acknowledgements a broker that delays small packets (Nagle) does not
    // hold back the next command it forwards until the acknowledgement's ACK.
    if (m_client && m_client->publish(topic, payload, true, 0))
        m_published.insert(topic, payload);
}

void MqttBridge::onReport(const QString &body)
{
    // Until mute or sleep was reported, the hub is told it is unknown.
    m_heard.take(body);
}

void MqttBridge::onMessage(const QString &topic, const QByteArray &payload, bool retained)
{
    if (topic == m_settings.discovery + QStringLiteral("/status")) {
        // The hub's birth message: it has forgotten what it was told, so everything goes
        // out again after a short random pause.
        if (!retained && payload == kOnline && !m_republishDue.isActive())
            m_republishDue.start(
                QRandomGenerator::global()->bounded(kRepublishLowestMs, kRepublishHighestMs));
        return;
    }
    const QString base = m_settings.baseTopic();
    if (topic == base + QStringLiteral("/bridge")) {
        if (payload == m_sweepToken)
            endSweep();
        return;
    }
    if (topic.startsWith(m_settings.discovery + QLatin1Char('/')) && topic.endsWith(u"/config")) {
        // The sweep keeps the retained configurations of this installation: its node, or
        // one of the per-model nodes of the id it had before.
        const QStringList levels = topic.mid(m_settings.discovery.size() + 1).split(u'/');
        if (!m_sweeping || !retained || payload.isEmpty() || levels.size() != 4)
            return;
        const QString node = levels[1];
        if (node == HubEntities::nodeId(m_settings.installation) || node.startsWith(m_legacyNodes))
            m_found.insert(topic, payload);
        return;
    }

    const QString prefix = base + QLatin1Char('/');
    const QString object = topic.startsWith(prefix) && topic.endsWith(u"/set")
        ? topic.mid(prefix.size(), topic.size() - prefix.size() - 4)
        : QString();
    const auto ignore = [&](const QString &why) {
        note(QStringLiteral("MQTT: ignored %1: %2").arg(shown(topic), why));
    };
    // A retained command was sent at some unknown time (a hub's or a user's mistake): it
    // would run again at every connect, a power ON in the middle of the night.
    if (retained)
        return ignore(QStringLiteral("a retained command, not a live one"));
    if (payload.size() > kLongestPayload)
        return ignore(QStringLiteral("payload longer than %1 bytes").arg(kLongestPayload));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(payload);
    if (decoder.hasError())
        return ignore(QStringLiteral("payload is not UTF-8"));
    const Entity *entity = HubEntities::findObject(object);
    if (!entity || QLatin1String(entity->component) == u"sensor" || !offers(*entity))
        return ignore(QStringLiteral("no such command"));
    if (!m_host.isConnected() || !m_link)
        return ignore(QStringLiteral("the receiver is not connected"));
    const QString why = execute(*entity, text.trimmed());
    if (!why.isEmpty())
        ignore(QStringLiteral("%1 (\"%2\")").arg(why, shown(text)));
}

QString MqttBridge::execute(const Entity &entity, const QString &payload)
{
    const auto indexOf = [&](ProgramHost::Panel panel) -> std::optional<int> {
        for (const auto &[index, caption] : m_host.panelOptions(panel))
            if (caption == payload)
                return index;
        return std::nullopt;
    };
    const QString noOption = QStringLiteral("not one of the options");
    ReceiverLink &link = *m_link;
    const ProgramHost::ReceiverStatus status = m_host.receiverStatus();

    // Check the payload first, then spend a command slot, then send.
    std::function<void()> send;
    if (const auto which = switchOf(entity.kind)) {
        if (payload != u"ON" && payload != u"OFF")
            return QStringLiteral("not ON or OFF");
        const bool on = payload == u"ON";
        send = [&link, which, on] { Vocabulary::setSwitch(link, *which, on); };
    } else {
        switch (entity.kind) {
        case Kind::Input:
        case Kind::Zone2Input: {
            const auto index = indexOf(ProgramHost::Panel::Input);
            if (!index)
                return noOption;
            const auto zone
                = entity.kind == Kind::Input ? Vocabulary::Zone::Main : Vocabulary::Zone::Zone2;
            send = [&link, zone, index] { Vocabulary::selectInput(link, zone, *index); };
            break;
        }
        case Kind::InputMode: {
            const auto index = indexOf(ProgramHost::Panel::InputMode);
            if (!index)
                return noOption;
            send = [&link, index] { Vocabulary::selectInputMode(link, *index); };
            break;
        }
        case Kind::Dsp: {
            const auto index = indexOf(ProgramHost::Panel::Dsp);
            if (!index)
                return noOption;
            send = [&link, index] { Vocabulary::selectDsp(link, *index); };
            break;
        }
        case Kind::Sleep: {
            std::optional<int> chosen;
            for (const int minutes : Vocabulary::sleepChoices())
                if (Vocabulary::sleepCaption(minutes) == payload)
                    chosen = minutes;
            if (!chosen)
                return noOption;
            send = [&link, chosen] { Vocabulary::setSleep(link, *chosen); };
            break;
        }
        case Kind::Memory: {
            if (payload != u"PRESS")
                return QStringLiteral("not PRESS");
            const int index = entity.index;
            send = [&link, index] { Vocabulary::recallMemory(link, index); };
            break;
        }
        case Kind::VolumeUp:
        case Kind::VolumeDown:
        case Kind::Zone2VolumeUp:
        case Kind::Zone2VolumeDown: {
            if (payload != u"PRESS")
                return QStringLiteral("not PRESS");
            // The hub's buttons name their zone; the window's zone-2 mode is the window's.
            const bool zone2
                = entity.kind == Kind::Zone2VolumeUp || entity.kind == Kind::Zone2VolumeDown;
            const bool up = entity.kind == Kind::VolumeUp || entity.kind == Kind::Zone2VolumeUp;
            if (up && !zone2 && status.mainVolume
                && VolumeText::mainDecibels(*status.mainVolume) + 0.25 > maxVolume())
                return QStringLiteral("at the maximum volume of %1 dB").arg(maxVolume());
            const auto zone = zone2 ? Vocabulary::Zone::Zone2 : Vocabulary::Zone::Main;
            send = [&link, zone, up] { Vocabulary::stepVolume(link, zone, up); };
            break;
        }
        case Kind::Volume:
        case Kind::Zone2Volume: {
            bool ok = false;
            const double decibels = payload.toDouble(&ok);
            if (!ok || !std::isfinite(decibels))
                return QStringLiteral("not a number");
            const bool zone2 = entity.kind == Kind::Zone2Volume;
            const int value
                = zone2 ? VolumeText::zone2Value(decibels) : VolumeText::mainValue(decibels);
            const int lowest = zone2 ? VolumeText::kZone2Lowest : VolumeText::kMainLowest;
            const int highest = zone2 ? VolumeText::kZone2Highest : VolumeText::kMainHighest;
            if (value < lowest || value > highest)
                return QStringLiteral("outside the receiver's range");
            if (!zone2 && value > VolumeText::mainValue(maxVolume()))
                return QStringLiteral("above the maximum volume of %1 dB").arg(maxVolume());
            // The last volume asked for wins; a step already out is awaited as before.
            m_volume.moveTo(zone2, value);
            return {};
        }
        default:
            return QStringLiteral("no such command");
        }
    }
    if (!m_commands.take(m_clock->monotonic()))
        return QStringLiteral("more than %1 commands a second").arg(kCommandsPerSecond);
    send();
    return {};
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
