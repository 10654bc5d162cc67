#include "NightVolumePlugin.h"

#include "NightVolumeAddIn.h"

QObject *NightVolumePlugin::createAddIn(const QString &className)
{
    if (className == QLatin1String("NightVolumeAddIn"))
        return new NightVolumeAddIn();
    return nullptr;
}
