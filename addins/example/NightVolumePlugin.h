#pragma once

#include <OrvaneAddIn.h>

#include <QObject>

// The plug-in's factory: it offers the one class NightVolumeAddIn.
class NightVolumePlugin : public QObject, public OrvaneAddInFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvaneAddInFactory_iid FILE "NightVolume.json")
    Q_INTERFACES(OrvaneAddInFactory)
public:
    QObject *createAddIn(const QString &className) override;
};
