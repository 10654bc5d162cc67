#pragma once

#include "mqtt/HubEntities.h"
#include "mqtt/MqttSettings.h"
#include "program/ProgramHost.h"
#include "program/RateLimiter.h"
#include "program/ReportsHeard.h"
#include "program/VolumeRamp.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

class Clock;
class MosquittoClient;
class ReceiverLink;
class SecretStore;
class SettingsStore;

// The receiver in a home-automation hub: publishes the program's mirror of the receiver
// to an MQTT broker as one device of this installation (and a second one for zone 2 on
// receivers that have it), with discovery entities a hub picks up on its own, and turns
// live commands from the broker into the receiver vocabulary's commands. Reaches the
// program only through ProgramHost, ProgramEvents and the link; every rate and deadline
// reads the clock's monotonic time.
class MqttBridge : public QObject
{
    Q_OBJECT
public:
    // At most this many receiver commands a second leave the bridge; a volume run takes
    // at most kRampStepsPerSecond of them, so other commands pass beside it.
    static constexpr int kCommandsPerSecond = 40;
    static constexpr int kRampStepsPerSecond = VolumeRamp::kStepsPerSecond;
    static constexpr qsizetype kLongestPayload = 256;
    // The display sensors change at most this often; the last text always goes out.
    static constexpr std::chrono::milliseconds kDisplayInterval {250};

    MqttBridge(ProgramHost &host, ReceiverLink *link, SettingsStore *settings, SecretStore *secrets,
               Clock *clock, QObject *parent = nullptr);
    ~MqttBridge() override;

    // Reads the settings and connects when a broker is set; stops a running connection
    // first (after the settings changed).
    void start();
    // Publishes "offline" for the bridge and the receiver and disconnects.
    void stop();

    bool isConnected() const;
    // The password in use (for the settings dialog's connection test).
    QString password() const { return m_password; }
    const MqttSettings &settings() const { return m_settings; }
    // The last message about the connection (empty while all is well).
    QString lastProblem() const { return m_lastProblem; }

signals:
    // Every line the bridge writes to the traffic log, also when logging is off.
    void logged(const QString &line);
    void brokerConnected();
    // The bridge has looked through the broker's retained discovery and removed what
    // this installation no longer offers.
    void sweepFinished();

private:
    using Entity = HubEntities::Entity;
    using Kind = HubEntities::Kind;

    void connectWithPassword(const QString &password);
    void onConnected();
    void onDisconnected(const QString &reason, qint64 retryInMs);
    void onMessage(const QString &topic, const QByteArray &payload, bool retained);
    void onReport(const QString &body);
    void publishAll();
    void publishDiscovery();
    QByteArray configOf(const Entity &entity) const;
    void removeStale();
    void endSweep();
    void publishChangedStates();
    void publishDisplay();
    void sendDisplay();
    void publishReceiver();
    void publish(const QString &topic, const QByteArray &payload);
    std::optional<QByteArray> stateOf(const Entity &entity,
                                      const ProgramHost::ReceiverStatus &status) const;
    bool offers(const Entity &entity) const;
    bool hasZone2() const;
    QString configTopic(const Entity &entity) const;
    QString topicOf(const QString &object, const char *leaf) const;
    QStringList optionsOf(const Entity &entity) const;
    // Carries out one command; returns why it was refused, or an empty text.
    QString execute(const Entity &entity, const QString &payload);
    double maxVolume() const;
    void note(const QString &line);
    void problem(const QString &text);

    ProgramHost &m_host;
    ReceiverLink *m_link;
    SettingsStore *m_settingsStore;
    SecretStore *m_secrets;
    Clock *m_clock;
    MqttSettings m_settings;
    QString m_password;
    std::unique_ptr<MosquittoClient> m_client;
    // A second connection holds the receiver's availability, so that the broker's last
    // will covers it as well as the bridge's own.
    std::unique_ptr<MosquittoClient> m_receiverClient;
    QByteArray m_receiverShown;
    // Payloads last published, by topic; cleared on every new connection.
    QHash<QString, QByteArray> m_published;
    ProgramHost::ModelInformation m_model;
    bool m_zone2Seen = false; // a zone-2 volume was reported in this run
    QTimer m_stateDue; // coalesces the notifications of one poll

    // Looking through the broker's retained discovery after connecting.
    bool m_sweeping = false;
    QByteArray m_sweepToken;
    QTimer m_sweepLimit;
    // Retained configurations of this installation found on the broker, by topic.
    QHash<QString, QByteArray> m_found;
    // The start of the per-model nodes of the id this machine had before ids were kept.
    QString m_legacyNodes;

    // What this run has heard from the receiver beyond the program's mirror.
    ReportsHeard m_heard;

    std::optional<std::chrono::nanoseconds> m_displayShownAt;
    QTimer m_displayDue;
    QTimer m_republishDue; // after the hub said it is online again

    RateLimiter m_commands {kCommandsPerSecond};
    // A volume set from the hub; its steps take from the command budget too.
    VolumeRamp m_volume;

    QString m_lastProblem;
    bool m_outage = false; // the current outage has been told
    std::chrono::nanoseconds m_outageSince {0};
    int m_generation = 0; // tells a stale password answer from the current one
};
