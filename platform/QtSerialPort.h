#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>

class SettingsStore;

// The serial line on a real device: 9600 baud, 8N1, no flow control. COM n is
// mapped to a device through the settings store (see serialDeviceForPort).
// A device that fails for good (unplugged adapter, closed pseudo-terminal) is
// closed and reported once through portLost.
class QtSerialPort : public SerialPort
{
    Q_OBJECT
public:
    static constexpr qint64 kReadBufferBytes = 1024;

    explicit QtSerialPort(SettingsStore *settings, QObject *parent = nullptr);
    ~QtSerialPort() override;

    void open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    void write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override;
    QByteArray readAll() override;

    // The device path of the open port (empty when closed).
    QString deviceName() const;

private:
    void onError(QSerialPort::SerialPortError error);

    SettingsStore *m_settings;
    QSerialPort m_serial;
    QString m_device;
    bool m_lostReported = false;
};
