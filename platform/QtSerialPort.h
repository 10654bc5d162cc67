#pragma once

#include "platform/SerialPort.h"

#include <QSerialPort>
#include <chrono>

class SettingsStore;

// The serial line on a real device: 9600 baud, 8N1, no flow control. COM n is
// mapped to a device through the settings store (see serialDeviceForPort).
// A device that fails for good (unplugged adapter, closed pseudo-terminal) is
// closed and reported once through portLost.
//
// A write behaves like one into a 512-byte transmit buffer: it returns once the line has
// taken the bytes and no more than 512 wait to go out, and blocks for at most
// kWriteTimeout when the line takes no more. The link takes such a write for a hung port.
class QtSerialPort : public SerialPort
{
    Q_OBJECT
public:
    static constexpr qint64 kReadBufferBytes = 1024;
    static constexpr qint64 kTransmitBufferBytes = 512;
    static constexpr std::chrono::milliseconds kWriteTimeout {800};

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
    // Bytes not yet handed to the device, plus those the device has not yet sent.
    qint64 queuedBytes() const;

    SettingsStore *m_settings;
    QSerialPort m_serial;
    QString m_device;
    bool m_lostReported = false;
};
