#include "platform/SerialDeviceNames.h"

#include "platform/SettingsStore.h"

QString serialDeviceForPort(SettingsStore &settings, int portNumber)
{
    const QString configured
        = settings.readValue(QStringLiteral("Ports"), QStringLiteral("Com%1").arg(portNumber))
              .trimmed();
    if (!configured.isEmpty())
        return configured;
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
}
