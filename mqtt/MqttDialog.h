#pragma once

#include "mqtt/MqttSettings.h"

#include <QDialog>
#include <memory>

class MosquittoClient;
class QLabel;
class QLineEdit;
class QPushButton;
class SecretStore;
class SettingsStore;
class UserDialogs;

// "Home automation...": the bridge's broker, user, password, CA file, topics and the
// hub's maximum volume, and a button that tries the broker with what is entered. The password goes
// to the desktop's secret store when one answers, else into the settings file, which is then kept
// readable by its owner only. Saving and trying never wait on the network or the store.
class MqttDialog : public QDialog
{
    Q_OBJECT
public:
    // `currentPassword` is the one in use; an untouched password field keeps it.
    MqttDialog(SettingsStore *settings, SecretStore *secrets, UserDialogs *dialogs,
               const QString &currentPassword, QWidget *parent = nullptr);
    ~MqttDialog() override;

    // The settings as entered.
    MqttSettings entered() const;
    // What the dialog last said about trying or saving.
    QString statusText() const;

    QLineEdit *brokerEdit() const { return m_broker; }
    QLineEdit *userEdit() const { return m_user; }
    QLineEdit *passwordEdit() const { return m_password; }
    QLineEdit *topicEdit() const { return m_topic; }
    QLineEdit *discoveryEdit() const { return m_discovery; }
    QLineEdit *maxVolumeEdit() const { return m_maxVolume; }
    // Where the password is kept, in words.
    QString passwordPlaceText() const;
    QPushButton *tryButton() const { return m_try; }

    // Checks and saves; the dialog closes (accepted) once the password is stored.
    void save();
    void tryBroker();

signals:
    void saved();

private:
    QString enteredPassword() const;
    void finishSave(const QString &failure);
    void endTry(const QString &text);
    void setStatus(const QString &text);

    SettingsStore *m_settings;
    SecretStore *m_secrets;
    UserDialogs *m_dialogs;
    QString m_currentPassword;
    QLineEdit *m_broker;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_caFile;
    QLineEdit *m_topic;
    QLineEdit *m_discovery;
    QLineEdit *m_maxVolume;
    QLabel *m_passwordPlace;
    QString m_installation;
    QPushButton *m_try;
    QPushButton *m_ok;
    QLabel *m_status;
    std::unique_ptr<MosquittoClient> m_trial;
    bool m_passwordEdited = false;
    bool m_saving = false;
};
