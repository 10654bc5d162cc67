#pragma once

#include "platform/SerialPortList.h"

// The serial devices Qt finds, named by their /dev/serial/by-id links where the
// system has one (USB adapters keep that name when plugged into another socket).
class QtSerialPortList : public SerialPortList
{
public:
    QList<Device> devices() override;

    // The by-id folder; tests point it elsewhere.
    void setByIdFolder(const QString &folder) { m_byIdFolder = folder; }

private:
    QString m_byIdFolder = QStringLiteral("/dev/serial/by-id");
};
