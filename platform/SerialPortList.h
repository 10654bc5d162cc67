#pragma once

#include <QFileDevice>
#include <QList>
#include <QString>

// The serial devices present on the machine, for the user to choose from.
class SerialPortList
{
public:
    struct Device
    {
        // The name to store: a stable /dev/serial/by-id/… link for USB adapters when
        // there is one, else the device path (/dev/ttyUSB0, /dev/ttyS0).
        QString path;
        // The device node behind it (/dev/ttyUSB0).
        QString systemLocation;
        QString description;
        QString manufacturer;
        // The user may read and write it.
        bool accessible = true;
        // The device node's owner, group and permission bits, for advice when it is not.
        QString owner = {};
        QString group = {};
        QFileDevice::Permissions permissions = {};
    };

    virtual ~SerialPortList();
    virtual QList<Device> devices() = 0;
};
