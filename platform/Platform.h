#pragma once

class Clock;
class KeyState;
class PlayerRemote;
class SecretStore;
class SerialPort;
class SerialPortList;
class SettingsStore;
class Shell;
class UserDialogs;

// The platform services the program uses, handed to it at start-up. The program
// reaches the operating system only through these.
struct Platform
{
    SerialPort *serialPort = nullptr;
    // The serial devices present, for the port dialog; none listed when absent.
    SerialPortList *serialPorts = nullptr;
    SettingsStore *settings = nullptr;
    UserDialogs *dialogs = nullptr;
    KeyState *keys = nullptr;
    PlayerRemote *player = nullptr;
    Shell *shell = nullptr;
    Clock *clock = nullptr;
    // The desktop's secret store; none: secrets stay in the settings file.
    SecretStore *secrets = nullptr;
};
