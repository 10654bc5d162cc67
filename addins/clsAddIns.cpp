#include "addins/clsAddIns.h"

void clsAddIns::SendUnload(long &Cancel)
{
    Cancel = 0;
}

void clsAddIns::SendTerminate() {}

void clsAddIns::SemdIncommingCommand(const QString &) {}

void clsAddIns::SemdIncommingSettings(const QString &) {}

void clsAddIns::SemdVolumeMain(float) {}

void clsAddIns::SemdVolumeZone2(float) {}
