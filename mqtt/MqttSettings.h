#pragma once

#include "mqtt/MosquittoClient.h"

#include <QString>
#include <optional>

class SettingsStore;

// The bridge's settings, section [MQTT] of the settings file. An empty Broker means the
// bridge is off. The password is not read here: it lives in the desktop's secret store
// when one answers, else under Password in the same section.
struct MqttSettings
{
    static inline const QString kSection = QStringLiteral("MQTT");
    static inline const QString kDefaultTopic = QStringLiteral("orvane");
    static inline const QString kDefaultDiscovery = QStringLiteral("homeassistant");
    // The key of the password in the secret store and in the settings file.
    static inline const QString kPasswordKey = QStringLiteral("Password");

    QString broker; // as written: mqtt://host[:port] or mqtts://host[:port]
    QString user;
    QString caFile;
    QString topic = kDefaultTopic;
    QString discovery = kDefaultDiscovery;

    // The broker address taken apart.
    struct Address
    {
        QString host;
        int port = 1883;
        bool tls = false;
    };

    bool enabled() const { return !broker.trimmed().isEmpty(); }

    // The broker's address, or why the text is not one.
    static std::optional<Address> parseBroker(const QString &text, QString *error = nullptr);
    // Empty when the topic can be used as a base or prefix; else the reason, naming `what`.
    static QString checkTopic(const QString &what, const QString &topic);
    // Every reason the settings cannot be used, one per line; empty when they can.
    QString problems() const;
    // What a client needs to reach this broker as this user, with `password`; empty when
    // the broker's address cannot be read.
    std::optional<MosquittoClient::Options> clientOptions(const QString &password) const;

    static MqttSettings load(SettingsStore &store);
    // Writes the section (not the password) without flushing.
    void save(SettingsStore &store) const;
};
