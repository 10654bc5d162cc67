#include "platform/SwitchingSerialPort.h"

#include "platform/NetworkPortAddress.h"
#include "platform/QtSerialPort.h"
#include "platform/SerialDeviceNames.h"
#include "platform/SerialPortError.h"
#include "platform/TcpSerialPort.h"

#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

SwitchingSerialPort::SwitchingSerialPort(SettingsStore *settings, QObject *parent)
    : SerialPort(parent)
    , m_settings(settings)
    , m_device(std::make_unique<QtSerialPort>(settings))
    , m_network(std::make_unique<TcpSerialPort>(settings))
{
    for (SerialPort *port : {static_cast<SerialPort *>(m_device.get()),
                             static_cast<SerialPort *>(m_network.get())}) {
        connect(port, &SerialPort::dataArrived, this, &SerialPort::dataArrived);
        connect(port, &SerialPort::portLost, this, &SerialPort::portLost);
    }
}

SwitchingSerialPort::~SwitchingSerialPort() = default;

SerialPort *SwitchingSerialPort::active() const
{
    return m_useNetwork ? static_cast<SerialPort *>(m_network.get())
                        : static_cast<SerialPort *>(m_device.get());
}

void SwitchingSerialPort::open(int portNumber)
{
    const QString name = m_settings ? serialDeviceForPort(*m_settings, portNumber) : QString();
    // An open called from events while a connection is still being made must not cut
    // that attempt short.
    if (m_network->isConnecting()) {
        throw SerialPortError(SerialPortError::kPortError,
                              tr("Cannot open %1: a connection is being made").arg(name));
    }
    close();
    m_useNetwork = NetworkPortAddress::isNetworkName(name);
    if (m_useNetwork) {
        m_network->openName(name);
        return;
    }
    try {
        m_device->open(portNumber);
    } catch (const SerialPortError &error) {
        const QString device = name.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(portNumber - 1)
                                              : name;
        const QString problem = permissionProblem(device);
        if (problem.isEmpty())
            throw;
        throw SerialPortError(error.number(), problem);
    }
}

void SwitchingSerialPort::close()
{
    m_device->close();
    m_network->close();
}

bool SwitchingSerialPort::isOpen() const
{
    return active()->isOpen();
}

void SwitchingSerialPort::write(const QByteArray &bytes)
{
    active()->write(bytes);
}

qint64 SwitchingSerialPort::bytesWaiting()
{
    return active()->bytesWaiting();
}

QByteArray SwitchingSerialPort::readAll()
{
    return active()->readAll();
}

QString SwitchingSerialPort::deviceName() const
{
    return m_useNetwork ? m_network->deviceName() : m_device->deviceName();
}

QString SwitchingSerialPort::permissionProblem(const QString &device)
{
    const QFileInfo info(device);
    if (!info.exists() || ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0)
        return QString();
    if (errno != EACCES)
        return QString();
    return permissionAdvice(device, info.owner(), info.group(), info.permissions());
}

QString SwitchingSerialPort::permissionAdvice(const QString &device, const QString &owner,
                                              const QString &group,
                                              QFileDevice::Permissions permissions)
{
    const QString denied = tr("Cannot open %1: permission denied. ").arg(device);
    const auto may = [permissions](QFileDevice::Permissions wanted) {
        return (permissions & wanted) == wanted;
    };
    // Joining the device's group helps only when that group may read and write it.
    if (!group.isEmpty() && may(QFileDevice::ReadGroup | QFileDevice::WriteGroup)) {
        return denied
            + tr("Your user may not use this device. Add it to the group \"%1\" "
                 "(for example: sudo adduser $USER %1), then log out and in again.")
                  .arg(group);
    }
    const QString who = may(QFileDevice::ReadOwner | QFileDevice::WriteOwner) && !owner.isEmpty()
        ? tr("Only its owner, %1, may read and write this device.").arg(owner)
        : tr("No user but root may read and write this device.");
    // The rule names the device by its kernel name (a /dev/serial/by-id link resolved).
    QString kernelName = QFileInfo(QFileInfo(device).canonicalFilePath()).fileName();
    if (kernelName.isEmpty())
        kernelName = QFileInfo(device).fileName();
    return denied + who
        + tr(" To grant access, give it to the group \"dialout\" with a udev rule "
             "(for example the line SUBSYSTEM==\"tty\", KERNEL==\"%1\", "
             "GROUP=\"dialout\", MODE=\"0660\" in "
             "/etc/udev/rules.d/60-orvane.rules), join that group (sudo adduser "
             "$USER dialout) and log out and in again; or choose another device for "
             "this port under Setup > Ports...")
              .arg(kernelName);
}
