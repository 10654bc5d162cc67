#pragma once

#include "program/ProgramHost.h"
#include "mqtt/MqttSettings.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>

class MosquittoClient;
class ReceiverLink;
class SecretStore;
class SettingsStore;

// The receiver in a home-automation hub: publishes the program's mirror of the receiver
// to an MQTT broker, with discovery entities a hub picks up on its own, and turns
// commands from the broker into the link's named receiver commands. Reaches the program
// only through ProgramHost, ProgramEvents and the link.
class MqttBridge : public QObject
{
    Q_OBJECT
public:
    // At most this many receiver commands a second leave the bridge.
    static constexpr int kCommandsPerSecond = 40;
    static constexpr qsizetype kLongestPayload = 256;

    MqttBridge(ProgramHost &host, ReceiverLink *link, SettingsStore *settings, SecretStore *secrets,
               QObject *parent = nullptr);
    ~MqttBridge() override;

    // Reads the settings and connects when a broker is set; stops a running connection
    // first (after the settings changed).
    void start();
    // Publishes "offline" and disconnects.
    void stop();

    bool isConnected() const;
    // The password in use (for the settings dialog's connection test).
    QString password() const { return m_password; }
    const MqttSettings &settings() const { return m_settings; }
    // The last message about the connection (empty while all is well).
    QString lastProblem() const { return m_lastProblem; }

    // The node id of this installation and receiver model in discovery topics.
    static QString nodeId(const QString &modelCode);

signals:
    // Every line the bridge writes to the traffic log, also when logging is off.
    void logged(const QString &line);
    void brokerConnected();

private:
    struct Entity;
    static const std::vector<Entity> &entities();

    void connectWithPassword(const QString &password);
    void onConnected();
    void onDisconnected(const QString &reason, qint64 retryInMs);
    void onMessage(const QString &topic, const QByteArray &payload);
    void publishAll();
    void publishDiscovery();
    void publishChangedStates();
    void publish(const QString &topic, const QByteArray &payload);
    QByteArray stateOf(const Entity &entity, const ProgramHost::ReceiverStatus &status) const;
    // Carries out one command; returns why it was refused, or an empty text.
    QString execute(const Entity &entity, const QString &payload);
    bool takeCommandSlot();
    void stepVolume();
    void note(const QString &line);
    void problem(const QString &text);
    QString topicOf(const QString &object, const char *leaf) const;
    QStringList optionsOf(const Entity &entity) const;

    ProgramHost &m_host;
    ReceiverLink *m_link;
    SettingsStore *m_settingsStore;
    SecretStore *m_secrets;
    MqttSettings m_settings;
    QString m_password;
    std::unique_ptr<MosquittoClient> m_client;
    // Payloads last published, by topic; cleared on every new connection.
    QHash<QString, QByteArray> m_published;
    QString m_node; // node of the discovery published last
    QString m_modelCode; // model the discovery describes
    ProgramHost::ModelInformation m_model;
    QTimer m_stateDue; // coalesces the notifications of one poll
    QElapsedTimer m_clock;
    std::deque<qint64> m_commandTimes;
    QString m_lastProblem;
    bool m_outageTold = false; // the current outage has been told
    QString m_lastRefusal; // the broker's last refusal told
    int m_generation = 0; // tells a stale password answer from the current one

    // Setting a volume is a run of single steps, each after the receiver reported the last.
    struct VolumeRun
    {
        bool zone2 = false;
        int target = -1; // raw value; -1 none
        int from = -1; // value when the last step went out; -2 none out
        qint64 sentAt = 0;
        int misses = 0;
    };
    VolumeRun m_volume;
    QTimer m_volumeTimer;
};
