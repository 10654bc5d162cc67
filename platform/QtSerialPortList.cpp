#include "platform/QtSerialPortList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <unistd.h>

QList<SerialPortList::Device> QtSerialPortList::devices()
{
    // by-id link for each device node it points to.
    QHash<QString, QString> byId;
    const QFileInfoList links
        = QDir(m_byIdFolder).entryInfoList(QDir::Files | QDir::System, QDir::Name);
    for (const QFileInfo &link : links) {
        if (link.isSymLink())
            byId.insert(link.canonicalFilePath(), link.absoluteFilePath());
    }

    QList<Device> result;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        Device device;
        device.systemLocation = info.systemLocation();
        device.path = byId.value(QFileInfo(device.systemLocation).canonicalFilePath(),
                                 device.systemLocation);
        device.description = info.description();
        device.manufacturer = info.manufacturer();
        device.accessible
            = ::access(QFile::encodeName(device.systemLocation).constData(), R_OK | W_OK) == 0;
        const QFileInfo node(device.systemLocation);
        device.owner = node.owner();
        device.group = node.group();
        device.permissions = node.permissions();
        result.append(device);
    }
    std::sort(result.begin(), result.end(),
              [](const Device &a, const Device &b) { return a.path < b.path; });
    return result;
}
