#pragma once

#include "mqtt/MosquittoClient.h"
#include "platform/StoredPassword.h"

#include <QString>
#include <optional>

class SettingsStore;

// The bridge's settings, section [MQTT] of the settings file. An empty Broker means the
// bridge is off. The password is not read here: it lives in the desktop's secret store
// when one answers, else under Password in the same section.
struct MqttSettings
{
    static inline const QString kSection = QStringLiteral("MQTT");
    // The default base topic is this prefix, "/" and the installation's id, so two
    // installations on one broker never share a topic.
    static inline const QString kTopicPrefix = QStringLiteral("orvane");
    static inline const QString kDefaultDiscovery = QStringLiteral("homeassistant");
    // The key of the password in the secret store and in the settings file.
    static inline const QString kPasswordKey = QStringLiteral("Password");
    static StoredPassword::Place passwordPlace() { return {kSection, kPasswordKey, kPasswordKey}; }

    QString broker; // as written: mqtt://host[:port] or mqtts://host[:port]
    QString user;
    QString caFile;
    QString topic; // as written; empty: defaultTopic(installation)
    QString discovery = kDefaultDiscovery;
    // The highest main volume the hub may set, in dB (the receiver's top unless set);
    // NaN when the stored text is no usable volume.
    double maxVolume = receiverTop();
    // Twelve hexadecimal digits that tell this installation from every other.
    QString installation;

    // The broker address taken apart.
    struct Address
    {
        QString host;
        int port = 1883;
        bool tls = false;
    };

    bool enabled() const { return !broker.trimmed().isEmpty(); }
    // The base topic in use.
    QString baseTopic() const { return topic.isEmpty() ? defaultTopic(installation) : topic; }
    static QString defaultTopic(const QString &installation);
    static double receiverTop();
    static double receiverBottom();

    // The broker's address, or why the text is not one.
    static std::optional<Address> parseBroker(const QString &text, QString *error = nullptr);
    // Empty when the topic can be used as a base or prefix; else the reason, naming `what`.
    static QString checkTopic(const QString &what, const QString &topic);
    // The maximum volume of a settings text (empty: the receiver's top), rounded to the
    // receiver's half-dB steps; empty when the text is no volume within the receiver's range.
    static std::optional<double> parseMaxVolume(const QString &text);
    // Every reason the settings cannot be used, one per line; empty when they can.
    QString problems() const;
    // What a client needs to reach this broker as this user, with `password`; empty when
    // the broker's address cannot be read.
    std::optional<MosquittoClient::Options> clientOptions(const QString &password) const;

    // Reads the section. The installation's id is made (and saved) on the first read.
    static MqttSettings load(SettingsStore &store);
    // Writes the section (not the password) without flushing.
    void save(SettingsStore &store) const;

    // The id this installation had before ids were kept in the settings (from the machine
    // and the home folder), so the bridge recognises what it published then.
    static QString legacyInstallation();
};
