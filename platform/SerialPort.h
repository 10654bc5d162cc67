#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// The serial line to the receiver: open COM n, write, ask what is waiting, read it.
// dataArrived tells the link that bytes wait (it reads them then, and its waits wake
// early); portLost that the device has gone away.
class SerialPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialPort() override;

    // Opens COM `portNumber` (1-based). Throws SerialPortError kPortError when the device
    // cannot be opened (the port stays closed then), kPortAlreadyOpen when it is open.
    virtual void open(int portNumber) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes all bytes; throws SerialPortError kPortNotOpen on a closed port, kPortError when
    // the port rejects the write.
    virtual void write(const QByteArray &bytes) = 0;
    // Number of bytes waiting to be read; 0 when the query itself fails.
    virtual qint64 bytesWaiting() = 0;
    // Takes everything waiting.
    virtual QByteArray readAll() = 0;

signals:
    // New bytes have arrived; each byte is announced by at least one notification
    // emitted after it can be read.
    void dataArrived();
    // The device failed for good (unplugged, I/O error); the port should be closed.
    void portLost(const QString &reason);
};
