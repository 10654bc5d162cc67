#pragma once

#include "platform/SerialPortList.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class SettingsStore;
class UserDialogs;

// "Ports" under Setup: assigns a serial device or a network bridge (tcp://host:port)
// to each of Com 1 to Com 5. The choice is written to section "Ports" of the settings
// store (keys "Com1" … "Com5"); an empty entry means the default device
// /dev/ttyS<n-1>. It takes effect at the next connect.
class PortsDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kPorts = 5;

    PortsDialog(SerialPortList *ports, SettingsStore *settings, UserDialogs *dialogs,
                QWidget *parent = nullptr);

    // The entry field of COM n (1 to 5).
    QComboBox *portEdit(int portNumber) const { return m_edits.at(portNumber - 1); }
    // Lists the devices present again, keeping what is entered.
    void refresh();
    // The port name entered for COM n: a listed device's path, or the text as typed.
    QString portName(int portNumber) const;
    // The hint under the list (devices the user may not open).
    QString note() const;

    // Why a port name cannot be used; empty when it can (a device path, a valid
    // tcp:// address, or empty for the default).
    static QString checkPortName(const QString &name);

    void accept() override;

private:
    void updateNote();
    const SerialPortList::Device *listedDevice(const QString &path) const;

    SerialPortList *m_ports;
    SettingsStore *m_settings;
    UserDialogs *m_dialogs;
    QList<SerialPortList::Device> m_devices;
    QList<QComboBox *> m_edits;
    QLabel *m_note = nullptr;
};
