#pragma once

#include "platform/SerialPort.h"

#include <QFileDevice>
#include <memory>

class QtSerialPort;
class SettingsStore;
class TcpSerialPort;

// The program's serial port: on each open it looks at the name configured for COM n
// and takes the device port or, for "tcp://host:port", the network bridge. Either
// way the link sees one SerialPort with the same behaviour.
class SwitchingSerialPort : public SerialPort
{
    Q_OBJECT
public:
    explicit SwitchingSerialPort(SettingsStore *settings, QObject *parent = nullptr);
    ~SwitchingSerialPort() override;

    void open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;

    // The device path or network address of the open port (empty when closed).
    QString deviceName() const;
    TcpSerialPort &network() { return *m_network; }

    // Why a device that exists could not be opened for lack of rights, and what to do;
    // empty when the user may read and write it (or it does not exist).
    static QString permissionProblem(const QString &device);
    // The advice for a device the user may not read and write: the group to join when
    // that group may read and write it, else who may and how to grant access.
    static QString permissionAdvice(const QString &device, const QString &owner,
                                    const QString &group, QFileDevice::Permissions permissions);

private:
    SerialPort *active() const;

    SettingsStore *m_settings;
    std::unique_ptr<QtSerialPort> m_device;
    std::unique_ptr<TcpSerialPort> m_network;
    bool m_useNetwork = false;
};
