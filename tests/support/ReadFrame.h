#pragma once

#include "platform/SerialPort.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QSignalSpy>

// Collects what a port receives until the text ends with ETX or the time is up.
inline QByteArray readFrame(SerialPort &port, int timeoutMs = 2000)
{
    QByteArray data;
    QElapsedTimer clock;
    clock.start();
    while (!data.endsWith('\x03') && clock.elapsed() < timeoutMs) {
        QSignalSpy arrived(&port, &SerialPort::dataArrived);
        if (port.bytesWaiting() == 0)
            arrived.wait(100);
        data += port.readAll();
    }
    return data;
}
