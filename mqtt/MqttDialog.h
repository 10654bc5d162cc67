#pragma once

#include "mqtt/MqttSettings.h"
#include "program/PasswordSettingsDialog.h"

#include <memory>

class MosquittoClient;
class QLineEdit;
class QPushButton;

// "Home automation...": the bridge's broker, user, password, CA file, topics and the
// hub's maximum volume, and a button that tries the broker with what is entered, never
// waiting on the network.
class MqttDialog : public PasswordSettingsDialog
{
    Q_OBJECT
public:
    // `currentPassword` is the one in use; an untouched password field keeps it.
    MqttDialog(SettingsStore *settings, SecretStore *secrets, UserDialogs *dialogs,
               const QString &currentPassword, QWidget *parent = nullptr);
    ~MqttDialog() override;

    // The settings as entered.
    MqttSettings entered() const;
    QLineEdit *brokerEdit() const { return m_broker; }
    QLineEdit *userEdit() const { return m_user; }
    QLineEdit *topicEdit() const { return m_topic; }
    QLineEdit *discoveryEdit() const { return m_discovery; }
    QLineEdit *maxVolumeEdit() const { return m_maxVolume; }
    QPushButton *tryButton() const { return m_try; }

    void tryBroker();

protected:
    QString problems() const override;
    void writeSettings(SettingsStore &settings) const override;

private:
    void endTry(const QString &text);

    QLineEdit *m_broker;
    QLineEdit *m_user;
    QLineEdit *m_caFile;
    QLineEdit *m_topic;
    QLineEdit *m_discovery;
    QLineEdit *m_maxVolume;
    QString m_installation;
    QPushButton *m_try;
    std::unique_ptr<MosquittoClient> m_trial;
};
