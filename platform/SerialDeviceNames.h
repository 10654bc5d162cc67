#pragma once

#include <QString>

class SettingsStore;

// The device behind COM n: the value of key "Com<n>" in section "Ports" when set
// (for example /dev/ttyUSB0 or a pseudo-terminal), else /dev/ttyS<n-1>.
QString serialDeviceForPort(SettingsStore &settings, int portNumber);
